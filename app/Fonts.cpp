#include "app/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QSet>

#include <cstdio>
#include <initializer_list>
#include <map>

namespace {
const std::array<QString, 3> Faces{QStringLiteral("ＭＳ Ｐゴシック"),
                                   QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ゴシック")};

// The installed families, looked up once: QFontDatabase::hasFamily asks fontconfig to
// resolve aliases on every call, which costs more than the whole window.
const QSet<QString>& Installed()
{
  static const QSet<QString> Families = [] {
    const QStringList All = QFontDatabase::families();
    return QSet<QString>(All.begin(), All.end());
  }();
  return Families;
}

bool HasEveryCharacter(const QString& Family, const QString& Shown)
{
  if (!Installed().contains(Family))
    return false;
  QFont Font(Family);
  Font.setStyleStrategy(QFont::NoFontMerging);
  const QFontMetrics Metrics(Font);
  for (const QChar C : Shown)
    if (!C.isSpace() && !Metrics.inFont(C))
      return false;
  return true;
}
} // namespace

QStringList TGothicFaces::Candidates(const QString& Face)
{
  // A family is listed in the user's language: fontconfig under a Japanese locale, and a
  // Japanese Windows or macOS, give these faces their Japanese names and not the Latin ones.
  // So each family stands here under every name it has.
  const auto Names = [](std::initializer_list<const char*> Family) {
    QStringList List;
    for (const char* Name : Family)
      List << QString::fromUtf8(Name);
    return List;
  };
  const bool Proportional = Face == Faces[0];
  // Each pair is (proportional, fixed); the face's own kind goes first.
  const auto Pair = [Proportional](const QStringList& P, const QStringList& Fixed) {
    return Proportional ? P + Fixed : Fixed + P;
  };
  QStringList Families{Face};
  Families << (Proportional ? Names({"ＭＳ Ｐゴシック", "MS PGothic"})
                            : Names({"ＭＳ ゴシック", "MS Gothic"}))
           // Every Windows 10 and 11 has these, where the MS faces are an optional feature.
           << Names({"Yu Gothic", "游ゴシック"}) << Names({"Meiryo", "メイリオ"})
           << Pair(Names({"IPAPGothic", "IPA Pゴシック"}), Names({"IPAGothic", "IPAゴシック"}))
           << Names({"Hiragino Sans", "ヒラギノ角ゴシック"})
           << Names({"Hiragino Kaku Gothic ProN", "ヒラギノ角ゴ ProN"})
           << Names({"Noto Sans CJK JP"}) << Names({"Source Han Sans JP", "源ノ角ゴシック JP"})
           << Pair(Names({"VL PGothic", "VL Pゴシック"}), Names({"VL Gothic", "VL ゴシック"}))
           << Pair(Names({"TakaoPGothic", "Takao Pゴシック"}),
                   Names({"TakaoGothic", "Takaoゴシック"}))
           << Names({"Droid Sans Fallback"})
           // The IPA faces as the page carries them, renamed as their licence asks.
           << Pair(Names({"Yamaruka PGothic"}), Names({"Yamaruka Gothic"}));
  Families.removeDuplicates(); // the face itself may be one of the names
  return Families;
}

QString TGothicFaces::Choose(const QStringList& Candidates,
                             const std::function<bool(const QString&)>& Covers)
{
  for (const QString& Family : Candidates)
    if (Covers(Family))
      return Family;
  return {};
}

TGothicFaces::TGothicFaces(const QString& Shown)
{
  std::map<QString, bool> Known; // the fixed faces share their candidates: look once
  const auto Covers = [&Known, &Shown](const QString& Family) {
    const auto [At, New] = Known.try_emplace(Family, false);
    if (New)
      At->second = HasEveryCharacter(Family, Shown);
    return At->second;
  };
  bool AnyJapanese = true;
  for (std::size_t I = 0; I < Faces.size(); ++I) {
    const QStringList Families = Candidates(Faces[I]);
    Chosen[I].Family = Choose(Families, Covers);
    Chosen[I].Whole = !Chosen[I].Family.isEmpty();
    if (Chosen[I].Whole)
      continue;
    // Nothing shows every character: the first installed candidate, helped by fallback faces.
    Chosen[I].Family = Choose(Families, [](const QString& F) { return Installed().contains(F); });
    AnyJapanese = AnyJapanese && !Chosen[I].Family.isEmpty();
  }
  if (!AnyJapanese)
    std::fprintf(stderr, "yamaruka: no Japanese Gothic font is installed, so texts may show as "
                         "boxes (on Debian: apt install fonts-ipafont-gothic)\n");
}

const TGothicFaces::TChoice& TGothicFaces::For(const QString& Face) const
{
  for (std::size_t I = 0; I < Faces.size(); ++I)
    if (Faces[I] == Face)
      return Chosen[I];
  return Chosen[1];
}

QFont TGothicFaces::Font(const QString& Face, int Pixels, bool Bold) const
{
  const TChoice& Choice = For(Face);
  QFont Font;
  if (!Choice.Family.isEmpty())
    Font.setFamily(Choice.Family);
  Font.setStyleHint(QFont::SansSerif);
  if (Choice.Whole)
    Font.setStyleStrategy(QFont::NoFontMerging);
  Font.setPixelSize(Pixels);
  Font.setBold(Bold);
  return Font;
}
