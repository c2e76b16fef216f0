#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The layout's three Japanese Gothic faces, "ＭＳ Ｐゴシック" (proportional), "ＭＳ ゴシック" and
// "ゴシック", realised on this system: for each, the first installed family, best first, that
// has every character the window shows. Chosen once, when the window is built.
class TGothicFaces {
public:
  explicit TGothicFaces(const QString& Shown);

  // Heights are character heights in pixels.
  [[nodiscard]] QFont Font(const QString& Face, int Pixels, bool Bold) const;

  // The families tried for a face, best first: the face itself, the IPA faces, then the usual
  // Japanese Gothic faces of other systems, proportional or fixed to match the face; each
  // under every name a system may list it by (Latin and Japanese).
  [[nodiscard]] static QStringList Candidates(const QString& Face);
  // The first candidate that Covers accepts; empty when none does.
  [[nodiscard]] static QString Choose(const QStringList& Candidates,
                                      const std::function<bool(const QString&)>& Covers);

private:
  struct TChoice {
    QString Family;     // empty: no Japanese face at all
    bool Whole = false; // it shows every character, so no fallback face is searched
  };
  [[nodiscard]] const TChoice& For(const QString& Face) const;

  std::array<TChoice, 3> Chosen;
};
