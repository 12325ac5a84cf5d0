#include "hublink/SerialLink.h"

#include "hublink/PortSetup.h"
#include "hublink/core/LinkTiming.h"
#include "platform/EventWait.h"

SerialLink::SerialLink(ICommsWindow& window, ISiteLink& site, QObject* parent)
    : QObject(parent), link_(*this, *this, *this, window, site)
{
    commsTimer_.setTimerType(Qt::PreciseTimer);
    connect(&commsTimer_, &QTimer::timeout, this, [this] { link_.CommsTimer_Timer(); });
    connect(&comm_, &platform::SerialControl::Received, this, [this] { link_.Comm_OnComm(comm_.Input()); });
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

bool SerialLink::ResetPort(QWidget* owner)
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
    platform::WaitWhileYielding(keepWaiting);
}
