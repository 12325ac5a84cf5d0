#include "app/frmParameter.h"

#include "platform/LoadedForms.h"
#include "platform/Win1252Validator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QValidator>
#include <algorithm>

QString ParameterResult;

namespace {

bool g_parameterBusy = false;
QPointer<frmParameter> g_current;

// Text that reaches the field other than by a key (pasted, dropped) goes
// through the same filter and maximum as typed text.
class EntryValidator : public QValidator
{
public:
    EntryValidator(int32_t kind, int maxLength, QObject* parent)
        : QValidator(parent), m_kind(kind), m_maxLength(maxLength)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        QString out;
        int newPos = 0;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = frmParameter::FilterChar(m_kind, input[i]);
            if (c.isNull() || out.size() >= m_maxLength)
                continue;
            out += c;
            if (i < pos)
                newPos = static_cast<int>(out.size());
        }
        input = out;
        pos = newPos;
        return Acceptable;
    }

private:
    int32_t m_kind;
    int m_maxLength;
};

} // namespace

bool frmParameter::IsFilteredKind(int32_t kind)
{
    return kind == ParameterEntry::Text || kind == ParameterEntry::Alphanumeric ||
           kind == ParameterEntry::Digits || kind == ParameterEntry::Hex;
}

QChar frmParameter::FilterChar(int32_t kind, QChar c)
{
    if (!IsFilteredKind(kind))
        return c;
    const char16_t u = c.unicode();
    const bool small = u >= 'a' && u <= 'z';
    const bool capital = u >= 'A' && u <= 'Z';
    const bool digit = u >= '0' && u <= '9';
    switch (kind) {
    case ParameterEntry::Text:
        if (small)
            return c.toUpper();
        return (u == ' ' || (u >= 33 && u <= 90)) ? c : QChar();
    case ParameterEntry::Alphanumeric:
        if (small)
            return c.toUpper();
        return (digit || capital) ? c : QChar();
    case ParameterEntry::Digits:
        return digit ? c : QChar();
    case ParameterEntry::Hex:
        if (u >= 'a' && u <= 'f')
            return c.toUpper();
        return (digit || (u >= 'A' && u <= 'F')) ? c : QChar();
    default:
        return c;
    }
}

frmParameter::frmParameter() : BoxDialog("frmParameter", kClientWidth, kClientHeight)
{
    QFont font("Verdana");
    font.setPointSizeF(9.75);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(font);
    PlaceTwips(Label1, 2610, kLabelTop, 1000, 240);
    txtEntry = new QLineEdit(this);
    txtEntry->setObjectName("txtEntry");
    txtEntry->setFont(font);
    txtEntry->setAlignment(Qt::AlignCenter);
    PlaceTwips(txtEntry, 525, kEntryTop, 3600, kEntryHeight);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setFont(font);
    Combo1->setEditable(false);
    PlaceTwips(Combo1, 525, 912, 3705, kEntryHeight);
    setTabOrder(cmdButton[2], txtEntry);
    setTabOrder(txtEntry, Combo1);
    txtEntry->installEventFilter(this);
}

frmParameter* frmParameter::Current()
{
    return g_current.data();
}

int32_t frmParameter::GetParameter(QWidget* owner, const QString& prompt, int32_t entryType,
                                   int defaultOrMaxLen, const QString& items, int32_t buttons,
                                   const QString& title)
{
    const bool list = entryType == ParameterEntry::List;
    return RunBox(
        g_parameterBusy, g_current, owner, title, QString(), [] { return new frmParameter; },
        [&](frmParameter& box) -> QWidget* {
            box.Fill(prompt, entryType, defaultOrMaxLen, items, buttons);
            return list ? static_cast<QWidget*>(box.cmdButton[0]) : box.txtEntry;
        },
        [&](frmParameter& box) {
            ParameterResult = list ? QString::number(box.Combo1->currentIndex()) : box.txtEntry->text();
        });
}

void frmParameter::Fill(const QString& prompt, int32_t entryType, int defaultOrMaxLen, const QString& items,
                        int32_t buttons)
{
    Label1->setText(DisplayLines(prompt));
    const QSizeF text = TextSizeTwips(Label1->font(), prompt);
    ResultCode = 0;
    m_entryKind = entryType;
    if (entryType == ParameterEntry::List) {
        Combo1->show();
        txtEntry->hide();
        // An empty text is an empty list, not one empty entry.
        if (!items.isEmpty())
            Combo1->addItems(items.split(';'));
        const int count = Combo1->count();
        int select = defaultOrMaxLen;
        if (select >= count)
            select = count - 1;
        else if (select == -1)
            select = 0;
        Combo1->setCurrentIndex(select);
        m_maxEntryLength = 0;
    } else {
        Combo1->hide();
        txtEntry->show();
        m_maxEntryLength = defaultOrMaxLen;
        if (IsFilteredKind(entryType))
            txtEntry->setValidator(new EntryValidator(entryType, m_maxEntryLength, txtEntry));
        platform::LimitToWin1252(txtEntry);
    }
    const BoxButtonSet set = ParameterButtonSet(buttons);
    const double width = std::max(text.width() + 1000, MinimumWidth(set.count));
    const double buttonTop = kLabelTop + text.height() + 900;
    SetOuterSizeTwips(width, buttonTop + kButtonHeight + 600);
    const double labelLeft = width / 2 - text.width() / 2;
    PlaceTwips(Label1, labelLeft, kLabelTop, text.width(), text.height());
    EntryTwips = QRectF(labelLeft, kEntryTop, text.width(), kEntryHeight);
    PlaceTwips(Combo1, labelLeft, kEntryTop, text.width(), kEntryHeight);
    txtEntry->clear();
    if (m_maxEntryLength != 0) {
        const double entryWidth = m_maxEntryLength * kTwipsPerCharacter;
        EntryTwips = QRectF(width / 2 - entryWidth / 2, kEntryTop, entryWidth, kEntryHeight);
    }
    PlaceTwips(txtEntry, EntryTwips.left(), EntryTwips.top(), EntryTwips.width(), EntryTwips.height());
    ButtonTopTwips = buttonTop;
    ApplyButtons(set, buttonTop, kButtonHeight);
}

bool frmParameter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtEntry && event->type() == QEvent::KeyPress &&
        EntryKeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return BoxDialog::eventFilter(watched, event);
}

bool frmParameter::EntryKeyPress(QKeyEvent* e)
{
    if (!IsFilteredKind(m_entryKind))
        return false;
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: // an editing key, not a character (some keyboards send DEL with it)
    case Qt::Key_Return:
    case Qt::Key_Enter: // presses the default button
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = e->text();
    if (text.isEmpty())
        return false; // arrows, Home, End: no character
    const QChar c = text.size() == 1 ? FilterChar(m_entryKind, text[0]) : QChar();
    if (!c.isNull() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        txtEntry->text().size() < m_maxEntryLength)
        txtEntry->insert(QString(c));
    return true;
}
