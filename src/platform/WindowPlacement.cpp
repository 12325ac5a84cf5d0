#include "platform/WindowPlacement.h"

#include "platform/Units.h"
#include "platform/base/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <optional>

namespace platform {

QRect FrameRect(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    if (!window.isWindow() || handle == nullptr)
        return window.frameGeometry();
    return window.geometry().marginsAdded(handle->frameMargins());
}

void CentreOver(QWidget& window, const QWidget& over)
{
    window.move(FrameRect(over).center() - QPoint(window.width() / 2, window.height() / 2));
}

void CentreOverTwips(QWidget& window, long left, long top, long width, long height)
{
    const double x = left + width / 2.0 - PixelsToTwips(window.width()) / 2.0;
    const double y = top + height / 2.0 - PixelsToTwips(window.height()) / 2.0;
    window.move(PixelsFromTwips(x), PixelsFromTwips(y));
}

namespace {

// The frame the window system told for the window; none before it has told one.
QMargins FrameMargins(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

// Waits, on the window's events, for the window system to tell the window's
// frame; then gives the window its outer size, when one is kept, and fits the
// frame to the screen from where the window was asked to be. It goes once it
// has done so.
class FrameFit : public QObject
{
public:
    // The one waiting on the window, or a new one.
    static FrameFit& On(QWidget& window)
    {
        if (QObject* waiting = window.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
            return *static_cast<FrameFit*>(waiting);
        return *new FrameFit(window);
    }

    std::optional<QSize> outer; // pixels, frame included

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched != &window_ || (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize))
            return false;
        const QMargins frame = FrameMargins(window_);
        if (!window_.isVisible() || frame.isNull()) {
            // Until the window is shown, a move is where the frame is to go.
            if (type == QEvent::Move && !window_.isVisible())
                place_ = window_.geometry().topLeft();
            return false;
        }
        // Done once: what the fit does raises these events again.
        window_.removeEventFilter(this);
        setParent(nullptr);
        deleteLater();
        if (window_.windowState() == Qt::WindowNoState)
            Fit(frame);
        return false;
    }

private:
    static constexpr const char* kName = "platformFrameFit";

    explicit FrameFit(QWidget& window)
        : QObject(&window), window_(window), place_(window.geometry().topLeft())
    {
        setObjectName(kName);
        window.installEventFilter(this);
    }

    void Fit(const QMargins& frame)
    {
        const QSize size = outer.value_or(window_.size().grownBy(frame));
        long left = PixelsToTwips(place_.x()), top = PixelsToTwips(place_.y());
        long width = PixelsToTwips(size.width()), height = PixelsToTwips(size.height());
        const QSize minimum = window_.minimumSize().grownBy(frame);
        FitToScreen(left, top, width, height, PixelsToTwips(minimum.width()),
                    PixelsToTwips(minimum.height()));
        const QSize inner = QSize(TwipsToPixels(width), TwipsToPixels(height)).shrunkBy(frame);
        const QPoint corner(TwipsToPixels(left), TwipsToPixels(top));
        if (inner != window_.size())
            window_.resize(inner);
        if (corner != place_)
            window_.move(corner);
    }

    QWidget& window_;
    QPoint place_; // where the frame's corner was asked to be
};

} // namespace

void FitToScreen(long& left, long& top, long& width, long& height, long minWidth, long minHeight)
{
    const QScreen* screen = QGuiApplication::screenAt(QPoint(TwipsToPixels(left), TwipsToPixels(top)));
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desk = screen->virtualGeometry();
    const QRect free = screen->availableGeometry();
    FitOnScreen(left, width, minWidth, PixelsToTwips(desk.width()), PixelsToTwips(free.left()),
                PixelsToTwips(free.width()));
    FitOnScreen(top, height, minHeight, PixelsToTwips(desk.height()), PixelsToTwips(free.top()),
                PixelsToTwips(free.height()));
}

void OpenOnStoredRectangle(QWidget& window, const StoredRectangle& stored, const QWidget* over)
{
    // The frame, when the window system has told it already.
    const QMargins frame = FrameMargins(window);
    const QSize outer = window.size().grownBy(frame);
    long width = stored.width != nullptr ? *stored.width : PixelsToTwips(outer.width());
    long height = stored.height != nullptr ? *stored.height : PixelsToTwips(outer.height());
    long left = PixelsToTwips(window.x()), top = PixelsToTwips(window.y());
    if (stored.left != nullptr && stored.top != nullptr) {
        left = *stored.left;
        top = *stored.top;
    } else if (over != nullptr) {
        const QPoint middle = FrameRect(*over).center();
        left = PixelsToTwips(middle.x()) - width / 2;
        top = PixelsToTwips(middle.y()) - height / 2;
    }
    const QSize minimum = window.minimumSize().grownBy(frame);
    FitToScreen(left, top, width, height, PixelsToTwips(minimum.width()), PixelsToTwips(minimum.height()));
    window.move(TwipsToPixels(left), TwipsToPixels(top));
    if (stored.width != nullptr && stored.height != nullptr)
        ResizeOuter(window, width, height);
    else if (frame.isNull())
        FrameFit::On(window);
}

void ResizeOuter(QWidget& window, long width, long height)
{
    const QSize outer(TwipsToPixels(width), TwipsToPixels(height));
    const QMargins frame = FrameMargins(window);
    if (frame.isNull())
        FrameFit::On(window).outer = outer;
    window.resize(outer.shrunkBy(frame));
}

void StoreNormalRectangle(const QWidget& window, const StoredRectangle& stored)
{
    if (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect frame = FrameRect(window);
    const auto store = [](int32_t* value, int pixels) {
        if (value != nullptr)
            *value = static_cast<int32_t>(PixelsToTwips(pixels));
    };
    store(stored.top, frame.top());
    store(stored.left, frame.left());
    store(stored.width, frame.width());
    store(stored.height, frame.height());
}

} // namespace platform
