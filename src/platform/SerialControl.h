#pragma once
// The serial control: a port number (Com1..Com32, see Ports.h), a settings
// text such as "19200,N,8,1", DTR and RTS enable, an open state, output, the
// received bytes and a receive event. Operations that fail return false and
// leave the reason in LastError(): a system error number and a text that
// says what to do (absent device, port in use, missing permission and the
// group that owns the device).
#include <QObject>
#include <QSerialPort>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform {

struct SerialError
{
    int Number = 0;
    std::string Description;
};

class SerialControl : public QObject
{
    Q_OBJECT
public:
    explicit SerialControl(QObject* parent = nullptr);
    ~SerialControl() override;

    // 1..32; refused while the port is open or for another number.
    bool SetCommPort(int n);
    int CommPort() const { return commPort_; }
    // The device path the port number stands for now.
    std::string DevicePath() const;

    // Baud, parity letter (N, E, O, M, S), data bits 5..8, stop bits 1, 1.5
    // or 2. Taken at once when the port is open. An invalid text is refused.
    bool SetSettings(const std::string& text);
    std::string Settings() const { return settings_; }

    // Applied when the port opens and at once while it is open. A port
    // without modem lines (a pseudo-terminal, some adapters) refuses them;
    // that does not stop the port (ModemLinesRefused tells).
    void SetDTREnable(bool on);
    void SetRTSEnable(bool on);
    bool DTREnable() const { return dtr_; }
    bool RTSEnable() const { return rts_; }
    bool ModemLinesRefused() const { return modemLinesRefused_; }

    // Opens (true) or closes the port. Closing never fails.
    bool SetPortOpen(bool open);
    bool PortOpen() const;

    // Writes the bytes; false when the port is not open or the write fails.
    bool Output(const std::string& bytes);
    // The bytes received and not read yet.
    std::string Input();
    int InBufferCount() const;

    const SerialError& LastError() const { return error_; }

signals:
    // Bytes arrived (the receive event).
    void Received();
    // The device went away (unplugged, the far end of a pseudo-terminal
    // closed) or failed while open; the port is closed and LastError() says
    // why. Noticed as soon as the event loop runs, whether or not anything
    // is read or written.
    void PortLost();
    // The port was opened (true) or closed (false), by SetPortOpen or by its
    // loss.
    void OpenChanged(bool open);

private:
    bool Fail(int number, const std::string& description);
    bool ApplyLineSettings();
    void ApplyModemLines();
    void OnError(QSerialPort::SerialPortError error);
    void CheckHangUp();
    void Lose(const std::string& reason);
    void CloseNow();
    std::string OpenFailureText(const std::string& path);

    QSerialPort port_;
    // Fires when the open device reports an error or a hang-up.
    std::unique_ptr<QSocketNotifier> hangUp_;
    int commPort_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool dtr_ = false;
    bool rts_ = false;
    bool modemLinesRefused_ = false;
    SerialError error_;
};

// Splits a settings text into its parts; false for an invalid text.
bool ParseSerialSettings(const std::string& text, qint32& baud, QSerialPort::Parity& parity,
                         QSerialPort::DataBits& dataBits, QSerialPort::StopBits& stopBits);

} // namespace platform
