#pragma once

// Qt's own texts in Japanese, whatever the system's language, as the program's own are: the
// context menus of the explanation and the counters ("コピー", "すべてを選択"). Taken from the
// page's resources, else from the translations folder beside the program (the Windows zip),
// else from the system's Qt; where none has them, Qt's texts stay as they are. Installed once,
// before the window is built.
void InstallQtTranslation();
