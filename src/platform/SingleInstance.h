#pragma once
// One running copy per program folder. The first copy holds a lock file and
// listens on a local socket, both named from the instance name, in the
// user's runtime folder. A second copy finds the lock taken, connects to the
// socket, hands over its command line and ends.
//
// On the socket a hand-over is a 4-byte big-endian length followed by that
// many bytes; the first copy answers one byte (0x06) once it has handled it.
#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

// The files used for an instance name.
QString InstanceLockPath(const QString& instanceName);
QString InstanceSocketPath(const QString& instanceName);

// Takes the instance lock. False when another live process holds it; a lock
// left by a copy that no longer runs is taken over.
bool CreateInstanceLock(const QString& instanceName);
// True while this process holds the lock.
bool HoldsInstanceLock();

// Starts listening for hand-overs (only while this process holds the lock).
// A socket left behind by a crashed copy is removed first. handler runs on
// the UI thread for each hand-over received; it may open boxes and yield.
using HandOverHandler = std::function<void(const QByteArray& data)>;
bool ListenForHandOver(const QString& instanceName, HandOverHandler handler);

// Sends data to the running copy and waits until it has been handled, at most
// timeoutMs (shortened by the test time-out scale). False when no copy
// listens or the wait ended first.
bool SendHandOver(const QString& instanceName, const QByteArray& data, int timeoutMs);

// Stops listening, removes the socket and releases the lock.
void ReleaseInstanceLock();

// The largest hand-over accepted; longer ones are dropped unread.
constexpr int kMaxHandOverBytes = 64 * 1024;

} // namespace platform
