// The Debian package as `make package` builds it: what it installs and what it needs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

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

// A package that lacks the menu entry, the icon, the Qt platform plugin or the Japanese
// fonts installs a program that cannot be found or cannot show its texts.
TEST(Package, HoldsTheProgramItsEntryAndIconAndNeedsQtAndTheFonts)
{
  const std::string Deb = BuildPackage();
  ASSERT_FALSE(Deb.empty());

  const std::string Files = Output("dpkg-deb --contents " + Deb);
  for (const char* Path : {"./usr/bin/yamaruka", "./usr/share/applications/yamaruka.desktop",
                           "./usr/share/icons/hicolor/32x32/apps/yamaruka.xpm"})
    EXPECT_NE(Files.find(Path), std::string::npos) << Path << " missing from\n" << Files;
  EXPECT_NE(Files.find("-rwxr-xr-x root/root"), std::string::npos) << "the program is executable";

  const std::string Depends = Output("dpkg-deb --field " + Deb + " Depends");
  for (const char* Package :
       {"libqt6widgets6", "libqt6gui6", "libqt6core6", "qt6-qpa-plugins", "fonts-ipafont-gothic"})
    EXPECT_NE(Depends.find(Package), std::string::npos) << Package << " not in " << Depends;
  EXPECT_EQ(Output("dpkg-deb --field " + Deb + " Package"), "yamaruka\n");

  // The entry starts the installed program with the installed icon.
  const std::string Entry = Output("dpkg-deb --fsys-tarfile " + Deb +
                                   " | tar -xO ./usr/share/applications/yamaruka.desktop");
  EXPECT_NE(Entry.find("\nExec=yamaruka\n"), std::string::npos) << Entry;
  EXPECT_NE(Entry.find("\nIcon=yamaruka\n"), std::string::npos) << Entry;
  const std::string Icon = Output("dpkg-deb --fsys-tarfile " + Deb +
                                  " | tar -xO ./usr/share/icons/hicolor/32x32/apps/yamaruka.xpm");
  EXPECT_NE(Icon.find("\"32 32 "), std::string::npos) << "a 32 x 32 icon";
}
