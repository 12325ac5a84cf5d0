#include "hublink/SerialLink.h"

#include "hublink/PortSetup.h"
#include "hublink/core/LinkTiming.h"
#include "platform/Yield.h"

using namespace hublink;

SerialLink::SerialLink(ICommsWindow& window, ISiteLink& site, QObject* parent)
    : QObject(parent), link_(*this, *this, *this, window, site)
{
    commsTimer_.setTimerType(Qt::PreciseTimer);
    connect(&commsTimer_, &QTimer::timeout, this, [this] { link_.CommsTimer_Timer(); });
    // The port does not raise its receive event again while a handler of it
    // yields (a message box opened from the dispatcher), so whatever arrived
    // meanwhile is read here once the handler is done, in order.
    connect(&comm_, &platform::SerialControl::Received, this, [this] {
        do {
            link_.Comm_OnComm(comm_.Input());
        } while (comm_.PortOpen() && comm_.InBufferCount() > 0);
    });
    connect(&comm_, &platform::SerialControl::PortLost, this, [this] {
        const platform::SerialError& e = comm_.LastError();
        link_.PortLost(LinkError{e.Number, e.Description});
    });
}

SerialLink::~SerialLink()
{
    commsTimer_.stop();
    comm_.SetPortOpen(false);
}

hublink::PortStatus SerialLink::ResetPort(QWidget* owner)
{
    return ApplyPortSettingsTo(comm_, owner);
}

bool SerialLink::Output(const std::string& bytes, LinkError& error)
{
    if (comm_.Output(bytes))
        return true;
    error = LinkError{comm_.LastError().Number, comm_.LastError().Description};
    return false;
}

void SerialLink::Start(int32_t intervalMs)
{
    commsTimer_.start(ScaledInterval(intervalMs));
}

void SerialLink::Stop()
{
    commsTimer_.stop();
}

bool SerialLink::Enabled() const
{
    return commsTimer_.isActive();
}

void SerialLink::WaitWhile(const std::function<bool()>& keepWaiting)
{
    platform::WaitUntilWoken([&keepWaiting] { return !keepWaiting(); });
}

void SerialLink::StateChanged()
{
    platform::WakeWaits();
}
