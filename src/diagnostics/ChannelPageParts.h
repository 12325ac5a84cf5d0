#pragma once
// Parts the channel scan and channel monitor pages share: the status label's
// texts and colours, the number boxes with their key filter, the row of soft
// keys with the progress label over the first key, and the end of a run.
#include "hublink/core/LinkState.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

class QEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace diagnostics {
class IChannelLink;
}

inline const QColor kStatusIdle(200, 255, 200);
inline const QColor kStatusBusy(200, 200, 255);
inline const QColor kStatusFailed(255, 200, 200);

void ShowStatus(QLabel* label, const QString& text, const QColor& back);
// A box for a whole number: digits only, also when text is pasted.
QLineEdit* NumberBox(const QString& text, QWidget* parent);
// True when event is a key press that accept refuses for box (the key is
// then swallowed).
bool RefuseKey(QEvent* event, const QLineEdit* box, bool (*accept)(const std::string&, char));
// The soft keys with the progress label in the first key's place, and the
// progress bar when there is one.
QWidget* SoftKeyRow(QPushButton* soft1, QPushButton* soft2, QLabel* progress, QProgressBar* bar, QWidget* parent);
// The status after a run: " Idle " when it came to its end (done), else the
// link's failure report or "Unknown Command" in light red.
void ShowRunEnd(QLabel* status, hublink::StateCode state, hublink::StateCode done,
                const diagnostics::IChannelLink& link);
