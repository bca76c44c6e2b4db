#include "platform/qt/qt_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/form_rules.h"
#include "platform/qt/qt_units.h"
#include "platform/qt/qt_wall_timer.h"

namespace zdz::qt {

namespace {
constexpr int kExposeCheckMs = 700;
}  // namespace

namespace {

// Frame extents of the window manager, learnt from the first mapped window; a window is
// sized again once its own are known.
QMargins gFrameGuess;

// A conventional window manager's frame (openbox's: left 1, top 20, right 1, bottom 5), the one
// the forms' outer sizes leave room for. Where the program draws its own title bar (Qt under
// Wayland, which is taller), the client area stays what it is under such a frame and the
// window grows by the difference, so nothing the form holds is cut off.
constexpr QMargins kConventionalFrame(1, 20, 1, 5);

// Under Wayland the frame is Qt's own title bar, or a compositor's whose size Qt is never told:
// either way not a window manager's frame to measure.
bool FrameIsOurs() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

// The frame around a mapped window: the window manager's, or a Wayland client's own title bar.
QMargins FrameOf(const QWidget& window) {
  const QRect outer = window.frameGeometry(), inner = window.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

class QtMenuItemPeer : public MenuItemPeer {
 public:
  QtMenuItemPeer(QAction* action, QMenu* menu) : action_(action), menu_(menu) {}
  void SetCaption(const std::string& text) override {
    if (menu_) menu_->setTitle(Q(text));
    if (action_) action_->setText(Q(text));
  }
  void SetEnabled(bool enabled) override {
    if (menu_) menu_->setEnabled(enabled);
    if (action_) action_->setEnabled(enabled);
  }

 private:
  QPointer<QAction> action_;
  QPointer<QMenu> menu_;
};

// Esc and the title bar's close reach the model, which decides what closing means; so does an
// Enter that no focused button took.
class FormDialog : public QDialog {
 public:
  explicit FormDialog(Form& form) : form_(form) {}
  void reject() override { form_.UserCancel(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
      if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        form_.UserAccept();
        return;
      }
    }
    QDialog::keyPressEvent(event);
  }

 private:
  Form& form_;
};

class FormMainWindow : public QMainWindow {
 public:
  explicit FormMainWindow(Form& form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    form_.UserCancel();
  }

 private:
  Form& form_;
};

}  // namespace

QtWindow::QtWindow(Form& form) : form_(form) {
  const FormSpec& spec = form.Spec();
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (spec.minButton) flags |= Qt::WindowMinimizeButtonHint;
  if (spec.maxButton) flags |= Qt::WindowMaximizeButtonHint;

  if (!spec.dialog) {
    auto* main = new FormMainWindow(form);
    client_ = new QWidget(main);
    main->setCentralWidget(client_);
    BuildMenus(main);
    window_ = main;
  } else {
    auto* dialog = new FormDialog(form);
    dialog->setModal(false);
    client_ = dialog;
    window_ = dialog;
    // A utility window: taskbars and pagers leave it out (there is no direct switch for it).
    flags |= spec.showInTaskbar ? Qt::Dialog : Qt::Tool;
  }
  window_->setWindowFlags(flags);
  window_->setObjectName(Q(spec.name));
  window_->setWindowTitle(Q(form.Caption()));
  window_->installEventFilter(this);
  BuildControls(client_);

  outerWidth_ = spec.outerWidth;
  outerHeight_ = spec.outerHeight;
  ApplySize();
}

QtWindow::~QtWindow() {
  for (WallTimer* t : timers_) t->Stop();
  if (window_) {
    window_->removeEventFilter(this);
    window_->hide();
    // The release may come from inside one of this window's own signals.
    window_->deleteLater();
  }
}

void QtWindow::BuildMenus(QWidget* window) {
  auto* bar = static_cast<QMainWindow*>(window)->menuBar();
  for (const auto& item : form_.MenuItems()) {
    MenuItem* model = item.get();
    if (model->Parent().empty()) {
      QMenu* menu = bar->addMenu(Q(model->Caption()));
      menu->setObjectName(Q(model->Name()));
      menus_[model->Name()] = menu;
      auto peer = std::make_unique<QtMenuItemPeer>(nullptr, menu);
      model->AttachPeer(peer.get());
      menuItems_.push_back(std::move(peer));
      continue;
    }
    QMenu* menu = menus_.at(model->Parent());
    if (model->IsSeparator()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(Q(model->Caption()));
    action->setObjectName(Q(model->Name()));
    if (!model->Shortcut().empty()) action->setShortcut(QKeySequence(Q(model->Shortcut())));
    QObject::connect(action, &QAction::triggered, [model] { model->UserChoose(); });
    window->addAction(action);  // shortcuts work with the menu closed
    auto peer = std::make_unique<QtMenuItemPeer>(action, nullptr);
    model->AttachPeer(peer.get());
    menuItems_.push_back(std::move(peer));
  }
}

void QtWindow::BuildControls(QWidget* client) {
  std::map<std::string, QWidget*> containers;
  std::map<const Control*, QWidget*> widgetOf;
  for (const auto& c : form_.Controls()) {
    const ControlSpec& spec = c->Spec();
    if (spec.kind == ControlKind::kTimer) {
      Control* model = c.get();
      timers_.push_back(new WallTimer(
          spec.interval, [model] { model->Click(); }, client));
      continue;
    }
    QWidget* parent = spec.container.empty() ? client : containers.at(spec.container);
    auto peer = std::make_unique<QtControlPeer>(*c, parent);
    if (QWidget* w = peer->Widget()) {
      if (spec.kind == ControlKind::kGroupBox) containers[spec.name] = w;
      widgetOf[c.get()] = w;
    }
    c->AttachPeer(peer.get());
    controls_.push_back(std::move(peer));
  }
  std::vector<QWidget*> tabOrder;
  for (const Control* c : TabOrder(form_))
    if (QWidget* w = widgetOf[c]; w && w->focusPolicy() != Qt::NoFocus) tabOrder.push_back(w);
  for (std::size_t i = 1; i < tabOrder.size(); ++i)
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
  if (!tabOrder.empty()) tabOrder.front()->setFocus();
}

void QtWindow::ApplySize() {
  if (!window_) return;
  const FormSpec& spec = form_.Spec();
  if (outerWidth_ > 0 && outerHeight_ > 0) {
    QMargins frame = gFrameGuess;
    if (FrameIsOurs()) {
      frame = kConventionalFrame;
    } else if (window_->isVisible()) {
      const QMargins own = FrameOf(*window_);
      if (!own.isNull()) frame = gFrameGuess = own;
    }
    appliedFrame_ = frame;
    window_->setFixedSize(ToPixels(outerWidth_) - frame.left() - frame.right(),
                          ToPixels(outerHeight_) - frame.top() - frame.bottom());
  } else {
    window_->setFixedSize(ToPixels(spec.clientWidth), ToPixels(spec.clientHeight));
  }
}

void QtWindow::PlaceOnFirstShow() {
  if (placed_ || !window_) return;
  placed_ = true;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // Before the first mapping the frame is the one other windows had.
  const QMargins frame = window_->isVisible() ? FrameOf(*window_) : gFrameGuess;
  const QSize outer = window_->size().grownBy(frame);
  const auto place =
      zdz::PlaceOnFirstShow(form_.Spec(), {screen.x(), screen.y(), screen.width(), screen.height()},
                            outer.width(), outer.height(), ToPixels);
  if (!place) return;
  if (place->clientCorner)
    window_->setGeometry(QRect(QPoint(place->x, place->y), window_->size()));
  else
    window_->move(place->x, place->y);
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && outerWidth_ > 0) {
    // The window manager adds its frame only after mapping, and may change it later (a theme):
    // size the outer frame again once the frame is known or changes.
    const bool mapped = event->type() == QEvent::Show || event->type() == QEvent::Move ||
                        event->type() == QEvent::WindowActivate;
    const auto frameChanged = [&] {
      if (FrameIsOurs()) return false;
      const QMargins own = window_->isVisible() ? FrameOf(*window_) : QMargins();
      return !own.isNull() && own != appliedFrame_;
    };
    if (mapped || frameChanged()) ApplySize();
  }
  return QObject::eventFilter(watched, event);
}

void QtWindow::Show() {
  if (!window_) return;
  PlaceOnFirstShow();
  window_->show();
  window_->raise();
  window_->activateWindow();
  // A map request that crosses the window manager's handling of an unmap just before it (the
  // chime hides the window and re-shows it) can leave the window unmapped while Qt thinks it
  // shown. Once settled, a shown, unminimised window that never got exposed is shown again.
  QTimer::singleShot(kExposeCheckMs, window_, [w = window_] {
    if (w->isVisible() && !(w->windowState() & Qt::WindowMinimized) && w->windowHandle() &&
        !w->windowHandle()->isExposed()) {
      w->hide();
      w->show();
    }
  });
}

void QtWindow::Hide() {
  if (window_) window_->hide();
}

void QtWindow::SetEnabled(bool enabled) {
  if (window_) window_->setEnabled(enabled);
}

void QtWindow::SetOuterSize(int width, int height) {
  outerWidth_ = width;
  outerHeight_ = height;
  ApplySize();
}

void QtWindow::SetCaption(const std::string& text) {
  if (window_) window_->setWindowTitle(Q(text));
}

void QtWindow::SetTopmost(bool topmost) {
  if (!window_) return;
  const bool visible = window_->isVisible();
  // Changing the flags re-creates the native window hidden: show it again where it was.
  const QPoint where = window_->pos();
  window_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (visible) {
    window_->move(where);
    window_->show();
  }
}

void QtWindow::PopupMenu(const std::string& menuName) {
  auto it = menus_.find(menuName);
  if (it != menus_.end()) it->second->exec(QCursor::pos());
}

NativeHandle QtWindow::Handle() const {
  return window_ ? static_cast<NativeHandle>(window_->winId()) : 0;
}

}  // namespace zdz::qt
