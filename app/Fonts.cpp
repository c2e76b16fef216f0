#include "app/Fonts.h"

#include <QStringList>

QFont GothicFont(const QString& Face, int Pixels, bool Bold)
{
  const bool Proportional = Face == QStringLiteral("ＭＳ Ｐゴシック");
  QFont Font;
  Font.setFamilies(Proportional
                       ? QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}
                       : QStringList{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
  Font.setStyleHint(QFont::SansSerif);
  // The IPA faces hold every character the window shows: no search for fallback faces.
  Font.setStyleStrategy(QFont::NoFontMerging);
  Font.setPixelSize(Pixels);
  Font.setBold(Bold);
  return Font;
}
