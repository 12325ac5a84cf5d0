#pragma once
// The serial command link on a real port: the serial control carries the
// bytes, a precise timer is the reply time-out and waits yield to the event
// loop. The communications window owns one and implements ICommsWindow.
#include "hublink/core/CommsLink.h"
#include "hublink/core/PortSettings.h"
#include "platform/SerialControl.h"

#include <QObject>
#include <QTimer>

class QWidget;

class SerialLink : public QObject, public hublink::ISerialTransport, public hublink::ILinkTimer, public hublink::IMessageLoop
{
    Q_OBJECT
public:
    SerialLink(hublink::ICommsWindow& window, hublink::ISiteLink& site, QObject* parent = nullptr);
    ~SerialLink() override;

    hublink::CommsLink& Link() { return link_; }
    platform::SerialControl& Comm() { return comm_; }
    // The reply time-out; its timeout signal is each tick.
    const QTimer& ReplyTimer() const { return commsTimer_; }

    // Applies the port settings to this link's port (see PortSetup.h);
    // Failed after an error was shown.
    hublink::PortStatus ResetPort(QWidget* owner);

    // ISerialTransport
    bool Output(const std::string& bytes, hublink::LinkError& error) override;
    // ILinkTimer (intervals pass through ScaledInterval)
    void Start(int32_t intervalMs) override;
    void Stop() override;
    bool Enabled() const override;
    // IMessageLoop: a wait ends in the event-loop pass whose handler moved
    // CommsState on.
    void WaitWhile(const std::function<bool()>& keepWaiting) override;
    void StateChanged() override;

private:
    platform::SerialControl comm_;
    QTimer commsTimer_;
    hublink::CommsLink link_;
};
