#include "app/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <algorithm>
#include <memory>

void InstallQtTranslation()
{
  const QStringList Places{QStringLiteral(":/translations"),
                           QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  auto Translator = std::make_unique<QTranslator>();
  if (std::none_of(Places.begin(), Places.end(), [&Translator](const QString& Place) {
        return Translator->load(QStringLiteral("qtbase_ja"), Place);
      }))
    return;
  Translator->setParent(QCoreApplication::instance()); // the application's from here on
  QCoreApplication::installTranslator(Translator.release());
}
