#include "platform/SerialControl.h"

#include "platform/Ports.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::vector<std::string> SplitCommas(const std::string& text)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        parts.push_back(part);
    if (!text.empty() && text.back() == ',')
        parts.emplace_back();
    return parts;
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && text.size() <= 7 && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string GroupOf(const struct stat& st)
{
    const group* g = ::getgrgid(st.st_gid);
    return g != nullptr ? g->gr_name : std::to_string(st.st_gid);
}

} // namespace

bool ParseSerialSettings(const std::string& text, qint32& baud, QSerialPort::Parity& parity,
                         QSerialPort::DataBits& dataBits, QSerialPort::StopBits& stopBits)
{
    const auto parts = SplitCommas(text);
    if (parts.size() != 4 || !AllDigits(parts[0]) || parts[1].size() != 1)
        return false;
    baud = std::stoi(parts[0]);
    if (baud <= 0)
        return false;
    switch (parts[1][0]) {
    case 'N':
    case 'n':
        parity = QSerialPort::NoParity;
        break;
    case 'E':
    case 'e':
        parity = QSerialPort::EvenParity;
        break;
    case 'O':
    case 'o':
        parity = QSerialPort::OddParity;
        break;
    case 'M':
    case 'm':
        parity = QSerialPort::MarkParity;
        break;
    case 'S':
    case 's':
        parity = QSerialPort::SpaceParity;
        break;
    default:
        return false;
    }
    if (parts[2] == "5" || parts[2] == "6" || parts[2] == "7" || parts[2] == "8")
        dataBits = static_cast<QSerialPort::DataBits>(parts[2][0] - '0');
    else
        return false;
    if (parts[3] == "1")
        stopBits = QSerialPort::OneStop;
    else if (parts[3] == "1.5")
        stopBits = QSerialPort::OneAndHalfStop;
    else if (parts[3] == "2")
        stopBits = QSerialPort::TwoStop;
    else
        return false;
    return true;
}

SerialControl::SerialControl(QObject* parent) : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &SerialControl::Received);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialControl::OnError);
}

SerialControl::~SerialControl()
{
    CloseNow();
}

bool SerialControl::Fail(int number, const std::string& description)
{
    error_ = SerialError{number, description};
    return false;
}

bool SerialControl::SetCommPort(int n)
{
    if (port_.isOpen())
        return Fail(EBUSY, "The port is already open");
    if (n < 1 || n > kMaxComPorts)
        return Fail(EINVAL, "Invalid port number " + std::to_string(n));
    commPort_ = n;
    return true;
}

std::string SerialControl::DevicePath() const
{
    return ComPortPath(commPort_);
}

bool SerialControl::SetSettings(const std::string& text)
{
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
    if (!ParseSerialSettings(text, baud, parity, dataBits, stopBits))
        return Fail(EINVAL, "Invalid port settings \"" + text + "\"");
    const std::string previous = settings_;
    settings_ = text;
    if (port_.isOpen() && !ApplyLineSettings()) {
        settings_ = previous;
        ApplyLineSettings();
        return false;
    }
    return true;
}

bool SerialControl::ApplyLineSettings()
{
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
    ParseSerialSettings(settings_, baud, parity, dataBits, stopBits);
    if (port_.setBaudRate(baud) && port_.setParity(parity) && port_.setDataBits(dataBits) &&
        port_.setStopBits(stopBits) && port_.setFlowControl(QSerialPort::NoFlowControl))
        return true;
    const std::string reason = port_.errorString().toStdString();
    port_.clearError();
    return Fail(EINVAL, "The port does not accept the settings " + settings_ + ": " + reason);
}

void SerialControl::SetDTREnable(bool on)
{
    dtr_ = on;
    ApplyModemLines();
}

void SerialControl::SetRTSEnable(bool on)
{
    rts_ = on;
    ApplyModemLines();
}

void SerialControl::ApplyModemLines()
{
    if (!port_.isOpen())
        return;
    const bool dtrOk = port_.setDataTerminalReady(dtr_);
    const bool rtsOk = port_.setRequestToSend(rts_);
    if (!dtrOk || !rtsOk) {
        modemLinesRefused_ = true;
        port_.clearError();
    }
}

std::string SerialControl::OpenFailureText(const std::string& path)
{
    const std::string name = "Com" + std::to_string(commPort_) + " (" + path + ")";
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        error_.Number = ENOENT;
        return name + " is not present: no such device";
    }
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        error_.Number = EACCES;
        return "Permission denied on " + name + ": the user must be a member of the group \"" + GroupOf(st) +
               "\" that owns the device (then log in again)";
    }
    const auto qtError = port_.error();
    const std::string reason = port_.errorString().toStdString();
    if (qtError == QSerialPort::PermissionError) {
        error_.Number = EBUSY;
        return name + " is in use by another program (" + reason + ")";
    }
    error_.Number = EIO;
    return name + " could not be opened: " + reason;
}

void SerialControl::CloseNow()
{
    hangUp_.reset(); // before the descriptor it watches goes
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

bool SerialControl::SetPortOpen(bool open)
{
    if (!open) {
        const bool wasOpen = port_.isOpen();
        CloseNow();
        if (wasOpen)
            emit OpenChanged(false);
        return true;
    }
    if (port_.isOpen())
        return Fail(EBUSY, "The port is already open");
    const std::string path = DevicePath();
    port_.setPortName(QString::fromStdString(path));
    modemLinesRefused_ = false;
    if (!port_.open(QIODevice::ReadWrite)) {
        const std::string text = OpenFailureText(path);
        port_.clearError();
        return Fail(error_.Number, text);
    }
    if (!ApplyLineSettings()) {
        const SerialError kept = error_;
        port_.close();
        error_ = kept;
        return false;
    }
    ApplyModemLines();
    // A device that goes away leaves a descriptor that reads nothing, ever:
    // the read side alone would never tell.
    hangUp_ = std::make_unique<QSocketNotifier>(port_.handle(), QSocketNotifier::Exception);
    connect(hangUp_.get(), &QSocketNotifier::activated, this, &SerialControl::CheckHangUp);
    emit OpenChanged(true);
    return true;
}

void SerialControl::CheckHangUp()
{
    pollfd p{static_cast<int>(port_.handle()), 0, 0};
    if (!port_.isOpen() || ::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0)
        return;
    Lose("The device of Com" + std::to_string(commPort_) + " (" + DevicePath() + ") was removed or hung up");
}

void SerialControl::Lose(const std::string& reason)
{
    error_ = SerialError{EIO, "The port was lost: " + reason};
    CloseNow();
    emit OpenChanged(false);
    emit PortLost();
}

bool SerialControl::PortOpen() const
{
    return port_.isOpen();
}

bool SerialControl::Output(const std::string& bytes)
{
    if (!port_.isOpen())
        return Fail(EBADF, "The port is not open");
    const qint64 written = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    // On the wire now, not in the next pass of the event loop. A device
    // found gone by this write has been reported through PortLost already.
    if (written == static_cast<qint64>(bytes.size()))
        port_.flush();
    if (!port_.isOpen())
        return false;
    if (written != static_cast<qint64>(bytes.size())) {
        const std::string reason = port_.errorString().toStdString();
        port_.clearError();
        return Fail(EIO, "Writing to the port failed: " + reason);
    }
    return true;
}

std::string SerialControl::Input()
{
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

int SerialControl::InBufferCount() const
{
    return static_cast<int>(port_.bytesAvailable());
}

void SerialControl::OnError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !port_.isOpen())
        return;
    Lose(port_.errorString().toStdString());
}

} // namespace platform
