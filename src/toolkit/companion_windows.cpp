#include "toolkit/companion_windows.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace toolkit {

namespace {

constexpr int kStoreDelayMs = 1000;
// A companion too big for any free place is made smaller in these steps, down to
// this share of its size (never below its least size).
constexpr int kShrinkStepPercent = 10;
constexpr int kLeastPercent = 40;
constexpr int kFarAway = 100000;

QString placeKey(const QString &name, const char *part)
{
    return QStringLiteral("windows/%1_%2").arg(name, QLatin1String(part));
}

QRect globalRect(const QWidget &widget) { return {widget.mapToGlobal(QPoint(0, 0)), widget.size()}; }

// The frame as the window system tells it: the widget's own copy of it can lag
// behind a window manager that frames a window after it is shown.
QRect frameOf(const QWidget &window)
{
    return window.geometry().marginsAdded(window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins());
}

// The first place for a rectangle of this size within room that meets none of
// taken, top rows first: the room's corner or the edges of what is taken.
std::optional<QPoint> freeSpot(const QSize &size, const QRect &room, const std::vector<QRect> &taken)
{
    std::vector<int> xs{room.left()};
    std::vector<int> ys{room.top()};
    for (const QRect &area : taken) {
        xs.push_back(area.right() + 1);
        ys.push_back(area.bottom() + 1);
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    for (int y : ys) {
        for (int x : xs) {
            const QRect candidate(QPoint(x, y), size);
            if (room.contains(candidate) &&
                std::none_of(taken.begin(), taken.end(), [&](const QRect &area) { return area.intersects(candidate); }))
                return candidate.topLeft();
        }
    }
    return std::nullopt;
}

} // namespace

CompanionWindows::CompanionWindows(QMainWindow &mainWindow, const QWidget &controls,
                                   const settings::ProgramLocation &files, QObject *parent)
    : QObject(parent), mainWindow(mainWindow), controls(controls), stored(files)
{
    storeTimer.setSingleShot(true);
    storeTimer.setInterval(kStoreDelayMs);
    connect(&storeTimer, &QTimer::timeout, this, &CompanionWindows::storePlaces);
    mainWindow.installEventFilter(this);
}

CompanionWindows::~CompanionWindows() { storePlaces(); }

void CompanionWindows::adopt(QWidget &window, const QString &name)
{
    Q_ASSERT(!window.parentWidget());
    window.setWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    // Shown, or clicked beside its controls, the window itself has the focus,
    // not its first field, so that keys reach the window (and drive there).
    window.setFocusPolicy(Qt::ClickFocus);
    window.installEventFilter(this);
    companions.push_back({&window, name});
}

bool CompanionWindows::contains(const QWidget *window) const
{
    const auto isIt = [window](const Companion &companion) { return companion.window == window; };
    return window && (window == &mainWindow || std::any_of(companions.begin(), companions.end(), isIt));
}

CompanionWindows::Companion *CompanionWindows::companionOf(const QObject *object)
{
    const auto found = std::find_if(companions.begin(), companions.end(),
                                    [object](const Companion &companion) { return companion.window == object; });
    return found == companions.end() ? nullptr : &*found;
}

bool CompanionWindows::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        followActiveWindow();
        break;
    case QEvent::Show:
        // The window exists by now, but is not yet on the screen.
        if (Companion *companion = companionOf(watched); companion && !event->spontaneous()) {
            companion->window->windowHandle()->setTransientParent(mainWindow.windowHandle());
            companion->window->setFocus();
            if (!companion->placed)
                place(*companion);
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // Spontaneous: the window system moved or sized it, mostly for the user.
        if (Companion *companion = companionOf(watched);
            companion && companion->placed && event->spontaneous() && companion->window->isVisible()) {
            unstoredPlaces.insert(companion->name, companion->window->geometry());
            storeTimer.start();
        }
        break;
    default:
        break;
    }
    return false;
}

void CompanionWindows::followActiveWindow()
{
    QWidget *now = QApplication::activeWindow();
    if (!contains(now))
        now = nullptr;
    if (now == activeWindow)
        return;
    activeWindow = now;
    emit activeWindowChanged(now);
}

void CompanionWindows::place(Companion &companion)
{
    companion.placed = true;
    if (!restorePlace(companion))
        placeFree(*companion.window);
}

// A place (without the frame, which is not known before the window is on the
// screen) is taken up again while its top edge lies on a screen.
bool CompanionWindows::restorePlace(const Companion &companion)
{
    const auto value = [&](const char *part, int min) {
        return int(stored.number(placeKey(companion.name, part), min - 1, min, kFarAway));
    };
    const QRect place(value("left", -kFarAway), value("top", -kFarAway), value("width", 1), value("height", 1));
    if (place.left() < -kFarAway || place.top() < -kFarAway || place.width() < 1 || place.height() < 1 ||
        !QGuiApplication::screenAt(QPoint(place.center().x(), place.top() + 1)))
        return false;
    companion.window->setGeometry(place);
    return true;
}

// The companion's frame is not known before it is on the screen: the main
// window's stands in for it.
void CompanionWindows::placeFree(QWidget &window)
{
    const QRect room = mainWindow.screen()->availableGeometry();
    const QRect outer = frameOf(mainWindow);
    const QRect inner = mainWindow.geometry();
    const QPoint frameCorner = inner.topLeft() - outer.topLeft();
    const QSize frame = outer.size() - inner.size();
    const QSize preferred = window.size();
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    QSize size = preferred;
    // Covering another companion is better than covering a control.
    for (const bool besideCompanions : {true, false}) {
        const std::vector<QRect> taken = takenAreas(window, besideCompanions);
        for (int percent = 100; percent >= kLeastPercent; percent -= kShrinkStepPercent) {
            size = (preferred * percent / 100).expandedTo(least);
            if (const auto spot = freeSpot(size + frame, room, taken)) {
                window.setGeometry(QRect(*spot + frameCorner, size));
                return;
            }
        }
    }
    // Nowhere free: the screen's far corner, away from the controls at the top left.
    const QPoint farCorner(std::max(room.left(), room.right() + 1 - size.width() - frame.width()),
                           std::max(room.top(), room.bottom() + 1 - size.height() - frame.height()));
    window.setGeometry(QRect(farCorner + frameCorner, size));
}

// The main window's controls, its title and menu bar, and the other companions
// shown if asked for.
std::vector<QRect> CompanionWindows::takenAreas(const QWidget &window, bool withCompanions) const
{
    const QRect content = globalRect(*mainWindow.centralWidget());
    const QRect frame = frameOf(mainWindow);
    std::vector<QRect> taken{QRect(frame.topLeft(), QPoint(frame.right(), content.top() - 1))};
    for (const QObject *child : controls.children()) {
        const auto *control = qobject_cast<const QWidget *>(child);
        if (control && !control->isHidden() && !control->isWindow())
            taken.push_back(globalRect(*control) & content);
    }
    for (const Companion &companion : companions)
        if (withCompanions && companion.window && companion.window != &window && companion.window->isVisible())
            taken.push_back(frameOf(*companion.window));
    return taken;
}

void CompanionWindows::storePlaces()
{
    for (auto place = unstoredPlaces.cbegin(); place != unstoredPlaces.cend(); ++place) {
        stored.setNumber(placeKey(place.key(), "left"), place->left());
        stored.setNumber(placeKey(place.key(), "top"), place->top());
        stored.setNumber(placeKey(place.key(), "width"), place->width());
        stored.setNumber(placeKey(place.key(), "height"), place->height());
    }
    unstoredPlaces.clear();
}

} // namespace toolkit
