// The real program under Xvfb, driven with real pointer and key events through XTest and
// watched through the X server's own pixels. Every wait waits for an X event (damage, map,
// destroy) or the program's exit, up to a deadline.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {
using TClock = std::chrono::steady_clock;
constexpr unsigned long Aqua = 0x00FFFF; // as the X server holds it: 0xRRGGBB
constexpr unsigned long White = 0xFFFFFF;

// Starts Args with Env added. The child dies with the test, so that a failing test never leaves
// a process behind holding the test runner's output pipes open. Output goes to OutFd if given.
pid_t Spawn(const std::vector<std::string>& Args, const std::vector<std::string>& Env, int KeepFd,
            int OutFd = -1)
{
  const pid_t Parent = getpid();
  const pid_t Pid = fork();
  if (Pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != Parent)
      _exit(127);
    if (OutFd >= 0) {
      dup2(OutFd, STDOUT_FILENO);
      dup2(OutFd, STDERR_FILENO);
    }
    for (const auto& E : Env)
      putenv(const_cast<char*>(E.c_str()));
    for (int Fd = 3; Fd < 256; ++Fd)
      if (Fd != KeepFd)
        close(Fd);
    std::vector<char*> Argv;
    Argv.reserve(Args.size() + 1);
    for (const auto& A : Args)
      Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    execvp(Argv[0], Argv.data());
    _exit(127);
  }
  return Pid;
}

// Xlib's default handler exits the process on any protocol error; a test must fail instead.
// A window that vanishes between listing and looking at it (a box closing) is no error.
int XErrors = 0;
int CountXError(Display*, XErrorEvent* E)
{
  if (E->error_code != BadWindow)
    ++XErrors;
  return 0;
}

std::chrono::milliseconds Remaining(TClock::time_point Deadline)
{
  return std::max(std::chrono::milliseconds(0),
                  std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now()));
}

// Reads Fd into Text until Seen holds for what was read, the stream ends or the deadline passes.
bool ReadUntil(int Fd, std::string& Text, const std::function<bool(const std::string&)>& Seen,
               std::chrono::seconds Limit = std::chrono::seconds(20))
{
  const auto Deadline = TClock::now() + Limit;
  char Buffer[4096];
  while (!Seen(Text)) {
    pollfd Ready{Fd, POLLIN, 0};
    if (poll(&Ready, 1, static_cast<int>(Remaining(Deadline).count())) <= 0)
      return false;
    const ssize_t Got = read(Fd, Buffer, sizeof Buffer);
    if (Got <= 0)
      return false;
    Text.append(Buffer, static_cast<std::size_t>(Got));
  }
  return true;
}

class TXSession {
public:
  Display* X = nullptr;
  Window Root = 0;
  pid_t Server = -1;
  pid_t App = -1;
  int AppFd = -1; // a pidfd: readable once the program has exited
  int AppStatus = -1;

  bool Start()
  {
    // The server picks a free display itself and writes its number once it accepts clients.
    int Pipe[2];
    if (pipe(Pipe) != 0)
      return false;
    const int Quiet = open("/dev/null", O_WRONLY);
    Server = Spawn({"Xvfb", "-displayfd", std::to_string(Pipe[1]), "-screen", "0", "1280x800x24",
                    "-nolisten", "tcp"},
                   {}, Pipe[1], Quiet);
    close(Quiet);
    close(Pipe[1]);
    std::string Number;
    ReadUntil(
        Pipe[0], Number, [](const std::string& T) { return T.find('\n') != T.npos; },
        std::chrono::seconds(10));
    close(Pipe[0]);
    Number = Number.substr(0, Number.find('\n'));
    if (Number.empty()) {
      ADD_FAILURE() << "Xvfb did not start";
      return false;
    }
    DisplayName = ":" + Number;
    XSetErrorHandler(CountXError);
    X = XOpenDisplay(DisplayName.c_str());
    if (X == nullptr) {
      ADD_FAILURE() << "cannot open " << DisplayName;
      return false;
    }
    Root = DefaultRootWindow(X);
    XSelectInput(X, Root, SubstructureNotifyMask);
    int EventBase = 0;
    int ErrorBase = 0;
    if (!XDamageQueryExtension(X, &EventBase, &ErrorBase)) {
      ADD_FAILURE() << "no damage extension";
      return false;
    }
    DamageEvent = EventBase + XDamageNotify;
    DamageHandle = XDamageCreate(X, Root, XDamageReportNonEmpty);
    XSync(X, False);
    return true;
  }

  // Wrapper goes before the program (valgrind and its options, say).
  void StartApp(std::vector<std::string> Wrapper = {})
  {
    Wrapper.emplace_back(YAMARUKA_EXE);
    App = Spawn(Wrapper, {"DISPLAY=" + DisplayName, "QT_QPA_PLATFORM=xcb"}, -1);
    AppFd = static_cast<int>(syscall(SYS_pidfd_open, App, 0));
  }

  ~TXSession()
  {
    if (App > 0 && AppStatus < 0) {
      kill(App, SIGKILL);
      waitpid(App, nullptr, 0);
    }
    if (X != nullptr)
      XCloseDisplay(X);
    if (Server > 0) {
      kill(Server, SIGTERM);
      waitpid(Server, nullptr, 0);
    }
  }

  // Checks Done after every X event until it holds or the deadline passes.
  int Patience = 1; // how many times the usual time a slow run may take
  bool WaitFor(const std::function<bool()>& Done,
               std::chrono::seconds Limit = std::chrono::seconds(10))
  {
    const auto Deadline = TClock::now() + Limit * Patience;
    for (;;) {
      Drain();
      if (Done())
        return true;
      const auto Left = Remaining(Deadline);
      if (Left.count() <= 0)
        return false;
      // A reply read in Done() may have brought events into Xlib's queue: the socket would
      // then stay quiet although there is something to look at.
      if (XEventsQueued(X, QueuedAlready) > 0)
        continue;
      pollfd Fds[2] = {{ConnectionNumber(X), POLLIN, 0}, {AppFd, POLLIN, 0}};
      poll(Fds, AppFd >= 0 ? 2 : 1, static_cast<int>(Left.count()));
      if (AppFd >= 0 && (Fds[1].revents & POLLIN) != 0 && AppStatus < 0) {
        int WaitStatus = 0;
        waitpid(App, &WaitStatus, 0);
        AppStatus = WaitStatus;
      }
    }
  }

  std::string Name(Window W) const
  {
    Atom Type = 0;
    int Format = 0;
    unsigned long Count = 0;
    unsigned long After = 0;
    unsigned char* Data = nullptr;
    const Atom NetName = XInternAtom(X, "_NET_WM_NAME", False);
    std::string Result;
    if (XGetWindowProperty(X, W, NetName, 0, 1024, False, AnyPropertyType, &Type, &Format, &Count,
                           &After, &Data) == Success &&
        Data != nullptr) {
      Result.assign(reinterpret_cast<char*>(Data), Count);
      XFree(Data);
    }
    return Result;
  }

  // The mapped top-level windows whose title is Title (or starts with it).
  Window FindWindow(const std::string& Title, bool Prefix) const
  {
    Window RootReturn = 0;
    Window Parent = 0;
    Window* Children = nullptr;
    unsigned Count = 0;
    Window Found = 0;
    XQueryTree(X, Root, &RootReturn, &Parent, &Children, &Count);
    for (unsigned I = 0; I < Count; ++I) {
      XWindowAttributes A;
      if (XGetWindowAttributes(X, Children[I], &A) == 0 || A.map_state != IsViewable)
        continue;
      const std::string N = Name(Children[I]);
      if (Prefix ? N.rfind(Title, 0) == 0 : N == Title)
        Found = Children[I];
    }
    if (Children != nullptr)
      XFree(Children);
    return Found;
  }

  void Origin(Window W, int& X0, int& Y0) const
  {
    Window Child = 0;
    XTranslateCoordinates(X, W, Root, 0, 0, &X0, &Y0, &Child);
  }

  std::vector<unsigned long> Column(int AtX, int Top, int Height) const
  {
    std::vector<unsigned long> Pixels;
    XImage* Image =
        XGetImage(X, Root, AtX, Top, 1, static_cast<unsigned>(Height), AllPlanes, ZPixmap);
    if (Image == nullptr)
      return Pixels;
    for (int Y = 0; Y < Height; ++Y)
      Pixels.push_back(XGetPixel(Image, 0, Y) & 0xFFFFFFU);
    XDestroyImage(Image);
    return Pixels;
  }
  unsigned long Pixel(int AtX, int AtY) const { return Column(AtX, AtY, 1).at(0); }

  void Click(int AtX, int AtY)
  {
    XTestFakeMotionEvent(X, -1, AtX, AtY, CurrentTime);
    XTestFakeButtonEvent(X, 1, True, CurrentTime);
    XTestFakeButtonEvent(X, 1, False, CurrentTime);
    XFlush(X);
  }
  void PressReturn(Window W)
  {
    XSetInputFocus(X, W, RevertToParent, CurrentTime);
    const KeyCode Code = XKeysymToKeycode(X, XK_Return);
    XTestFakeKeyEvent(X, Code, True, CurrentTime);
    XTestFakeKeyEvent(X, Code, False, CurrentTime);
    XFlush(X);
  }

private:
  void Drain()
  {
    while (XPending(X) > 0) {
      XEvent Event;
      XNextEvent(X, &Event);
      if (Event.type == DamageEvent)
        XDamageSubtract(X, DamageHandle, 0, 0);
    }
  }

  std::string DisplayName;
  int DamageEvent = 0;
  Damage DamageHandle = 0;
};
} // namespace

// Start-up, a whole puzzle 1 played by reading the slanted tops off the screen, the end
// message, and "終了".
void PlayPuzzleOneAndQuit(TXSession& S)
{
  Window Main = 0;
  ASSERT_TRUE(S.WaitFor([&] { return (Main = S.FindWindow("ヤマルカ（", true)) != 0; }));
  int WX = 0;
  int WY = 0;
  S.Origin(Main, WX, WY);
  // The window is centred on the 1280 x 800 screen.
  EXPECT_LE(std::abs(WX - (1280 - 1120) / 2), 1);
  EXPECT_LE(std::abs(WY - (800 - 641) / 2), 1);
  EXPECT_EQ(S.Name(Main), "ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）");

  // Surface pixel (x, y) on the screen: the surface starts at (1, 1) in the window.
  const auto SX = [&](int X) { return WX + 1 + X; };
  const auto SY = [&](int Y) { return WY + 1 + Y; };
  const auto BarBottom = [&](int Pos) { return S.Pixel(SX(30 * Pos - 15), SY(597)); };
  ASSERT_TRUE(S.WaitFor([&] {
    for (int Pos = 1; Pos <= 31; ++Pos)
      if (BarBottom(Pos) != Aqua)
        return false;
    return true;
  })) << "the example mountain after start-up";

  S.Click(WX + 935 + 16 + 75, WY + 232 + 20); // 開始
  ASSERT_TRUE(S.WaitFor([&] { return BarBottom(4) == White && BarBottom(28) == White; }));

  // The top of a revealed bar at surface column X, found from the bottom edge up (the
  // explanation lies over the upper part).
  const auto TopAt = [&](int X) {
    const auto Pixels = S.Column(SX(X), SY(0), 598);
    int Y = 597;
    while (Y >= 0 && Pixels[static_cast<std::size_t>(Y)] != White)
      --Y;
    return Y + 1;
  };
  int Left = 0;
  int Right = 32;
  int Clicks = 0;
  Window Box = 0;
  while (Box == 0 && Clicks < 10) {
    const int Pos = (Left + Right) / 2;
    S.Click(WX + 1 + (Pos - 1) * 30 + 2 + 14, WY + 599 + 6 + 14);
    ++Clicks;
    ASSERT_TRUE(S.WaitFor([&] { return BarBottom(Pos) == Aqua; })) << "bar " << Pos;
    // Over its own button: the columns between its edges are filled, its neighbours not.
    EXPECT_EQ(S.Pixel(SX(30 * (Pos - 1) + 1), SY(597)), Aqua);
    EXPECT_EQ(S.Pixel(SX(30 * Pos - 1), SY(597)), Aqua);
    const int LeftTop = TopAt(30 * (Pos - 1) + 2);
    const int RightTop = TopAt(30 * Pos - 2);
    EXPECT_GE(598 - LeftTop, 30); // at least 10 tenths of 3 pixels
    if (RightTop < LeftTop) {
      Left = Pos;
    } else if (RightTop > LeftTop) {
      Right = Pos;
    } else {
      ASSERT_TRUE(S.WaitFor([&] { return (Box = S.FindWindow("ヤマルカ", false)) != 0; }));
    }
  }
  EXPECT_EQ(Clicks, 5) << "halving always takes five";
  ASSERT_NE(Box, 0U);
  S.PressReturn(Box);
  ASSERT_TRUE(S.WaitFor([&] { return S.FindWindow("ヤマルカ", false) == 0; }));

  S.Click(WX + 935 + 1 + 56 + 32, WY + 514 + 86 + 12); // 終了
  ASSERT_TRUE(S.WaitFor([&] { return S.AppStatus >= 0; }));
  EXPECT_TRUE(WIFEXITED(S.AppStatus));
  EXPECT_EQ(WEXITSTATUS(S.AppStatus), 0);
  EXPECT_EQ(XErrors, 0);
}

TEST(EndToEnd, RealProgramPlaysAndQuits)
{
  TXSession S;
  ASSERT_TRUE(S.Start());
  S.StartApp();
  PlayPuzzleOneAndQuit(S);
}

// Memory errors and leaks that only valgrind sees: the same game, start-up to closing, under
// memcheck. Errors anywhere count; of the leaks, those definitely lost with the program's own
// code on the stack.
TEST(EndToEnd, MemcheckFindsNoErrorAndNoLeakOfOurs)
{
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "valgrind cannot run a program built with AddressSanitizer";
#endif
  TXSession S;
  ASSERT_TRUE(S.Start());
  const std::string Log = testing::TempDir() + "yamaruka-memcheck.xml";
  S.Patience = 12;
  S.StartApp({"valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
              "--errors-for-leak-kinds=definite",
              std::string("--suppressions=") + YAMARUKA_SOURCE_DIR + "/tools/valgrind.supp",
              "--xml=yes", "--xml-file=" + Log});
  PlayPuzzleOneAndQuit(S);
  ASSERT_TRUE(WIFEXITED(S.AppStatus));

  std::ifstream In(Log);
  const std::string Xml((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  ASSERT_NE(Xml.find("</valgrindoutput>"), std::string::npos) << "no complete log in " << Log;
  int Errors = 0;
  int OurLeaks = 0;
  int OtherLeaks = 0;
  for (std::size_t At = Xml.find("<error>"); At != std::string::npos;
       At = Xml.find("<error>", At + 1)) {
    const std::string Error = Xml.substr(At, Xml.find("</error>", At) - At);
    const auto Kind =
        Error.substr(Error.find("<kind>") + 6, Error.find("</kind>") - Error.find("<kind>") - 6);
    if (Kind.rfind("Leak_", 0) != 0) {
      ++Errors;
      ADD_FAILURE() << "memcheck: " << Error;
    } else if (Error.find(std::string("<obj>") + YAMARUKA_EXE + "</obj>") != std::string::npos) {
      ++OurLeaks;
      ADD_FAILURE() << "leak in the program's own code: " << Error;
    } else {
      ++OtherLeaks;
    }
  }
  std::printf("memcheck: %d errors, %d definite leaks in the program, %d in system libraries\n",
              Errors, OurLeaks, OtherLeaks);
}

// Inside a Wayland session the program runs on the compositor, even with a DISPLAY that points
// at no X server; weston's headless backend stands in for the session.
TEST(EndToEnd, RunsOnWaylandWithADeadXDisplay)
{
  char RuntimeDir[] = "/tmp/yamaruka-wayland-XXXXXX";
  ASSERT_NE(mkdtemp(RuntimeDir), nullptr);
  const std::string Runtime = std::string("XDG_RUNTIME_DIR=") + RuntimeDir;
  int Log[2];
  ASSERT_EQ(pipe(Log), 0);
  const pid_t Weston = Spawn({"weston", "--backend=headless-backend.so", "--socket=yamaruka-test",
                              "--idle-time=0", "--shell=desktop-shell.so"},
                             {Runtime}, -1, Log[1]);
  close(Log[1]);
  // The shell is loaded once the compositor listens on its socket.
  std::string WestonLog;
  const bool Listening = ReadUntil(
      Log[0], WestonLog, [](const std::string& T) { return T.find("desktop-shell") != T.npos; });

  int Out[2];
  ASSERT_EQ(pipe(Out), 0);
  const pid_t App = Spawn(
      {YAMARUKA_EXE}, {Runtime, "WAYLAND_DISPLAY=yamaruka-test", "DISPLAY=:99", "WAYLAND_DEBUG=1"},
      -1, Out[1]);
  close(Out[1]);
  // Protocol traffic: the window gets its title, then a picture.
  std::string Traffic;
  const bool Shown =
      Listening && ReadUntil(Out[0], Traffic, [](const std::string& T) {
        const auto Title =
            T.find("set_title(\"ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）\")");
        return Title != T.npos && T.find("attach(wl_buffer", Title) != T.npos;
      });
  int AppStatus = 0;
  const bool StillRunning = waitpid(App, &AppStatus, WNOHANG) == 0;
  kill(App, SIGKILL);
  waitpid(App, nullptr, 0);
  kill(Weston, SIGTERM);
  waitpid(Weston, nullptr, 0);
  close(Log[0]);
  close(Out[0]);
  std::filesystem::remove_all(RuntimeDir);
  ASSERT_TRUE(Listening) << WestonLog;
  EXPECT_TRUE(Shown) << Traffic.substr(0, 2000);
  EXPECT_TRUE(StillRunning);
  EXPECT_EQ(Traffic.find("cannot open the display"), std::string::npos);
}

// Where no display can be reached, X or Wayland, the program says so in one line and exits
// with 1: no abort, no core dump.
TEST(EndToEnd, NoDisplayIsOneClearLineAndStatusOne)
{
  const char* Settings[] = {
      "-u DISPLAY -u WAYLAND_DISPLAY",
      "-u WAYLAND_DISPLAY DISPLAY=:99",
      "-u DISPLAY XDG_RUNTIME_DIR=/tmp WAYLAND_DISPLAY=yamaruka-none",
      "XDG_RUNTIME_DIR=/tmp WAYLAND_DISPLAY=yamaruka-none DISPLAY=:99",
  };
  for (const char* Setting : Settings) {
    SCOPED_TRACE(Setting);
    const std::string Command =
        std::string("env -u QT_QPA_PLATFORM ") + Setting + " " + YAMARUKA_EXE + " 2>&1";
    FILE* Out = popen(Command.c_str(), "r");
    ASSERT_NE(Out, nullptr);
    std::string Text;
    char Buffer[256];
    while (fgets(Buffer, sizeof Buffer, Out) != nullptr)
      Text += Buffer;
    const int ExitStatus = pclose(Out);
    EXPECT_TRUE(WIFEXITED(ExitStatus));
    EXPECT_EQ(WEXITSTATUS(ExitStatus), 1);
    EXPECT_EQ(Text, "yamaruka: cannot open the display (is DISPLAY or WAYLAND_DISPLAY set?)\n");
  }
}
