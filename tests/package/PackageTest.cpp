// The Debian package as `make package` builds it: what it installs and what it needs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

namespace {
std::string Output(const std::string& Command, int* Status = nullptr)
{
  std::string Text;
  FILE* Pipe = popen((Command + " 2>&1").c_str(), "r");
  if (Pipe == nullptr)
    return Text;
  char Buffer[4096];
  std::size_t Read = 0;
  while ((Read = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0)
    Text.append(Buffer, Read);
  const int Result = pclose(Pipe);
  if (Status != nullptr)
    *Status = Result;
  return Text;
}

std::string BuildPackage()
{
  const std::filesystem::path Dir = std::filesystem::path(testing::TempDir()) / "yamaruka-package";
  std::filesystem::remove_all(Dir);
  int Status = -1;
  const std::string Log =
      Output("cpack --config " YAMARUKA_CPACK_CONFIG " -B " + Dir.string(), &Status);
  EXPECT_EQ(Status, 0) << Log;
  for (const auto& Entry : std::filesystem::directory_iterator(Dir))
    if (Entry.path().extension() == ".deb")
      return Entry.path().string();
  ADD_FAILURE() << "no .deb in " << Dir << ":\n" << Log;
  return {};
}
} // namespace

// A package that lacks the menu entry, the icons, the Qt platform plugin or the Japanese
// fonts installs a program that cannot be found or cannot show its texts; one that the
// distribution's and the desktops' own checkers refuse reaches nobody.
TEST(Package, HoldsWhatDesktopsNeedAndPassesTheirCheckers)
{
  const std::string Deb = BuildPackage();
  ASSERT_FALSE(Deb.empty());

  const std::string Id = "io.github.yamaruka.Yamaruka";
  const std::string Entry = "usr/share/applications/" + Id + ".desktop";
  const std::string Metainfo = "usr/share/metainfo/" + Id + ".metainfo.xml";
  const std::string Files = Output("dpkg-deb --contents " + Deb);
  for (const std::string& Path : {std::string("usr/bin/yamaruka"), Entry, Metainfo,
                                  "usr/share/icons/hicolor/scalable/apps/" + Id + ".svg",
                                  "usr/share/icons/hicolor/48x48/apps/" + Id + ".png",
                                  "usr/share/icons/hicolor/256x256/apps/" + Id + ".png",
                                  std::string("usr/share/man/man1/yamaruka.1.gz"),
                                  std::string("usr/share/doc/yamaruka/copyright")})
    EXPECT_NE(Files.find("./" + Path + "\n"), std::string::npos) << Path << " missing from\n"
                                                                 << Files;
  EXPECT_NE(Files.find("-rwxr-xr-x root/root"), std::string::npos) << "the program is executable";

  const std::string Depends = Output("dpkg-deb --field " + Deb + " Depends");
  for (const char* Package :
       {"libqt6widgets6", "libqt6gui6", "libqt6core6", "qt6-qpa-plugins", "fonts-ipafont-gothic"})
    EXPECT_NE(Depends.find(Package), std::string::npos) << Package << " not in " << Depends;
  EXPECT_EQ(Output("dpkg-deb --field " + Deb + " Package"), "yamaruka\n");
  EXPECT_EQ(Output("dpkg-deb --field " + Deb + " Section"), "education\n");

  // lintian: no errors and no warnings (informational notes are allowed).
  int Status = -1;
  const std::string Lintian =
      Output("lintian --allow-root --fail-on error,warning " + Deb, &Status);
  EXPECT_EQ(Status, 0) << Lintian;

  // The entry and the metainfo as installed, checked by the desktops' own validators.
  const std::filesystem::path Root =
      std::filesystem::path(testing::TempDir()) / "yamaruka-package-root";
  std::filesystem::remove_all(Root);
  std::filesystem::create_directories(Root);
  EXPECT_EQ(Output("dpkg-deb --extract " + Deb + " " + Root.string()), "");
  const std::string Desktop = Output("desktop-file-validate " + (Root / Entry).string(), &Status);
  EXPECT_EQ(Status, 0) << Desktop;
  EXPECT_EQ(Desktop, "") << "no warnings";
  const std::string Appstream =
      Output("appstreamcli validate --no-net " + (Root / Metainfo).string(), &Status);
  EXPECT_EQ(Status, 0) << Appstream;
  EXPECT_EQ(Appstream.find("W:"), std::string::npos) << Appstream;
  EXPECT_EQ(Appstream.find("E:"), std::string::npos) << Appstream;

  // Hardened as Debian builds its packages: stack protector, fortified calls, PIE, RELRO and
  // immediate binding in the installed program.
  const std::string Program = (Root / "usr/bin/yamaruka").string();
  const std::string Symbols = Output("nm -D " + Program);
  const std::string Dynamic = Output("readelf --dynamic --program-headers " + Program);
  for (const auto& [Text, Mark] : {std::pair{&Symbols, "__stack_chk_fail"},
                                   std::pair{&Symbols, "_chk@"}, std::pair{&Dynamic, "GNU_RELRO"},
                                   std::pair{&Dynamic, "BIND_NOW"}, std::pair{&Dynamic, "PIE"}})
    EXPECT_NE(Text->find(Mark), std::string::npos) << Mark << " missing from " << Program;

  const std::string Launcher = Output("cat " + (Root / Entry).string());
  EXPECT_NE(Launcher.find("\nExec=yamaruka\n"), std::string::npos) << Launcher;
  EXPECT_NE(Launcher.find("\nIcon=" + Id + "\n"), std::string::npos) << Launcher;
}
