// The Qt desktop built from the forms, inspected in-process on a real X display.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <random>

#include "clock/clock_window.h"
#include "core/application.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_units.h"

namespace zdz::qt {
namespace {

template <typename T = QWidget>
T* Find(const char* name) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == name && qobject_cast<T*>(top)) return qobject_cast<T*>(top);
    if (T* w = top->findChild<T*>(name)) return w;
  }
  return nullptr;
}

// Lets whatever is queued run between chimes for a varied while: not a wait for anything.
void ServeFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Serves the event loop until `done`; the limit is only for a hang.
template <class Done>
bool WaitFor(Done done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

bool Shown(const char* name) {
  auto* w = Find<QWidget>(name);
  return w && w->isVisible();
}

class QtDesktopTest : public ::testing::Test {
 protected:
  void Start(const char* h24, const char* window, const char* chime = "False") {
    const QString folder = dir.path() + "/Zazedor";
    QDir().mkpath(folder);
    QFile conf(folder + "/Zazedor.conf");
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QString("[Zazedor]\n0=%1\n1=%2\n2=%3\n3=False\nWAVE=/nonexistent.wav\n"
                       "WAVEName=\" x.wav\"\n")
                   .arg(h24, window, chime)
                   .toUtf8());
    conf.close();
    desktop = std::make_unique<QtDesktop>(S(dir.path()));
    program = std::make_unique<Application>(*desktop);
    program->Main();
    ASSERT_TRUE(WaitFor([] {
      auto* w = Find<QMainWindow>("fomTIME");
      return w && w->windowHandle() && w->windowHandle()->isExposed();
    }));
  }
  void TearDown() override {
    program.reset();
    desktop.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QTemporaryDir dir;
  std::unique_ptr<QtDesktop> desktop;
  std::unique_ptr<Application> program;
};

TEST_F(QtDesktopTest, TimeLabelLooksAsDesignedAndAnUnchangedCaptionCostsNoRepaint) {
  Start("True", "True");
  auto* label = Find<QLabel>("lblTIME");
  ASSERT_TRUE(label);
  // Its colours and the ticking digits are window.sh's, seen on the screen.
  const QFontInfo used(label->font());
  EXPECT_EQ(used.family(), "IPAMincho");  // digits included: no per-glyph fallback
  EXPECT_TRUE(used.bold() && used.italic());

  struct Counter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++paints;
      return false;
    }
  } counter;
  Find<QMainWindow>("fomTIME")->findChild<QTimer*>()->stop();  // only this test writes
  Control& model = program->Clock()->Window().Ctl("lblTIME");
  label->installEventFilter(&counter);
  model.SetCaption("12:00:00");
  ASSERT_TRUE(WaitFor([&] { return counter.paints > 0; }));  // a new caption is painted
  QApplication::processEvents();
  counter.paints = 0;
  for (int i = 0; i < 20; ++i) {
    model.SetCaption("12:00:00");
    QApplication::processEvents();
  }
  EXPECT_EQ(counter.paints, 0);
  label->removeEventFilter(&counter);
}

// The chime hides the window and blocks the event loop for the sound's length; the window must
// come back every time. ZDZ_CHIME_CYCLES=200 runs the long version.
TEST_F(QtDesktopTest, TheWindowComesBackAfterEveryChime) {
  Start("True", "True");
  auto* window = Find<QMainWindow>("fomTIME");
  ASSERT_TRUE(window);
  const char* cycles = std::getenv("ZDZ_CHIME_CYCLES");
  const int n = cycles ? std::atoi(cycles) : 8;
  std::mt19937 random(7);
  int lost = 0;
  for (int i = 0; i < n; ++i) {
    ASSERT_TRUE(program->Clock()->HideForChime());
    QThread::msleep(100 + random() % 800);  // the sound plays; nothing else runs
    program->Clock()->ShowAfterChime();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000 && !window->windowHandle()->isExposed()) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!window->windowHandle()->isExposed()) ++lost;
    ServeFor(50 + random() % 200);
  }
  EXPECT_EQ(lost, 0) << "of " << n << " chimes";
}

// Two copies on one store: OK in one, delete in the other, OK again; both go on, and a third
// start reads a whole store.
TEST_F(QtDesktopTest, TwoCopiesOnOneStoreLeaveAWholeStore) {
  Start("True", "True");
  QtDesktop otherDesktop(S(dir.path()));
  Application other(otherDesktop);
  other.Main();
  for (int round = 0; round < 2; ++round) {
    program->Clock()->OpenOptions();
    ASSERT_TRUE(WaitFor([] { return Shown("btnOKCAN_0"); }));
    Find<QAbstractButton>("btnOKCAN_0")->click();
    ASSERT_TRUE(WaitFor([] { return !Shown("fomOPTION"); }));
    if (round == 0) other.Clock()->Window().Menu("menREG").UserChoose();
  }
  ASSERT_TRUE(program->Clock() && other.Clock());
  QtDesktop thirdDesktop(S(dir.path()));
  SettingsStore& store = thirdDesktop.Store();
  for (const char* key : {"0", "1", "2", "3", "WAVE", "WAVEName"}) {
    EXPECT_NE(store.Read("Zazedor", "Zazedor", key), "") << key;
  }
  EXPECT_EQ(store.Read("Zazedor", "Zazedor", "0"), "True");
}

void Key(QWidget* window, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window->focusWidget() ? window->focusWidget() : window, &press);
  QApplication::processEvents();
}

// Menus show captions and shortcuts as the user sees them. Toggles, Esc and Enter go to the
// model; what they mean there is the unit tests' business.
TEST_F(QtDesktopTest, MenusShowWhatTheUserSeesAndDialogsReportTogglesEscAndEnterToTheModel) {
  Start("True", "True", "True");
  auto* window = Find<QMainWindow>("fomTIME");
  ASSERT_TRUE(window);
  QStringList top;
  for (QAction* a : window->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, (QStringList{"ﾌｧｲﾙ(&F)", "設定(&S)", "ﾊﾞｰｼﾞｮﾝ情報(&H)"}));
  const std::vector<std::pair<const char*, QStringList>> items = {
      {"menFILE", {"ﾀｽｸﾄﾚｲに入れる(&T)\tCtrl+T", "-", "プログラム終了(&X)\tCtrl+X"}},
      {"menSET", {"オプション(&O)\tCtrl+O", "-", "レジストリ削除(&D)\tCtrl+D"}},
      {"menVER", {"ﾊﾞｰｼﾞｮﾝ情報(&V)\tCtrl+V"}}};
  for (const auto& [menu, expected] : items) {
    auto* m = Find<QMenu>(menu);
    ASSERT_TRUE(m) << menu;
    QStringList seen;
    for (QAction* a : m->actions())
      seen << (a->isSeparator()
                   ? "-"
                   : a->text() + "\t" + a->shortcut().toString(QKeySequence::PortableText));
    EXPECT_EQ(seen, expected) << menu;
  }

  program->Clock()->OpenOptions();
  ASSERT_TRUE(WaitFor([] { return Shown("fomOPTION"); }));
  auto* dialog = Find<QWidget>("fomOPTION");
  ASSERT_TRUE(dialog && dialog->isVisible());
  EXPECT_FALSE(window->isEnabled());
  auto* cuckoo = Find<QPushButton>("chkALARM_1");
  ASSERT_TRUE(cuckoo);
  EXPECT_TRUE(cuckoo->isCheckable());  // a check box drawn as a push button
  EXPECT_EQ(QFontInfo(cuckoo->font()).family(), "IPAPGothic");

  cuckoo->click();
  EXPECT_EQ(cuckoo->text(), "ON");
  EXPECT_EQ(program->State().OptFlag[3], kTrue);
  Find<QWidget>("opt24")->setFocus();
  Key(dialog, Qt::Key_Return);  // no default button here: Enter does nothing
  EXPECT_TRUE(dialog->isVisible());
  Key(dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(program->State().OptFlag[3], kFalse);

  program->Clock()->OpenVersion();
  ASSERT_TRUE(WaitFor([] { return Shown("fomAbout"); }));
  auto* about = Find<QWidget>("fomAbout");
  ASSERT_TRUE(about && about->isVisible());
  Find<QWidget>("picIcon")->setFocus();
  Key(about, Qt::Key_Return);  // the default button answers
  EXPECT_FALSE(about->isVisible());
}

}  // namespace
}  // namespace zdz::qt

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  zdz::qt::InstallFonts();
  zdz::qt::InstallAppIcon();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
