#pragma once

#include <QFont>
#include <QString>

// The layout's Japanese Gothic faces on this system: "ＭＳ Ｐゴシック" is the proportional IPA
// Gothic, "ＭＳ ゴシック" and "ゴシック" the fixed-pitch one. Heights are character heights in
// pixels.
QFont GothicFont(const QString& Face, int Pixels, bool Bold);
