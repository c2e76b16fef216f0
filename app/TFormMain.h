#pragma once

#include "app/Fonts.h"
#include "app/TEffectsAfterBox.h"
#include "app/TScreenFit.h"
#include "puzzle/TPicture.h"
#include "puzzle/TPuzzle.h"
#include "puzzle/TPuzzleEffects.h"
#include "runtime/Random.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLineEdit;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TMyImage;
class TPanel;
class TAnnouncer;
class TRadioGroup;

// The program's one window: the controls on the right, the play area with the drawing
// surface, the explanation and the 31 bar buttons on the left. It carries out the puzzle's
// window effects on its controls.
class TFormMain : public QWidget, private TPuzzleEffects {
public:
  // Random replaces the program's own generator (tests force every draw with it); it is
  // seeded all the same.
  explicit TFormMain(TRandomSource* Random = nullptr);
  ~TFormMain() override;

  // Shows the window on its screen at the largest scale that fits there, centred where it fits
  // with its frame, else at the screen's top-left; from then on the scale follows the screen.
  void ShowCentred();
  [[nodiscard]] TLayoutScale LayoutScale() const { return Fit.Scale(); }

  TPanel* PanelMain;
  TPanel* PanelBottom;
  QPushButton* ButtonClose;
  QTimer* TimerCreate;
  TPanel* PanelImage;
  TRadioGroup* RadioGroupKeisya;
  QPushButton* ButtonBegin;
  TPanel* PanelTray;
  TPanel* PanelMokuhyou;
  TPanel* PanelKaisuu;
  QLineEdit* EditKai;
  QLineEdit* EditMokuhyou;
  QPlainTextEdit* MemoSetsumei;
  QPushButton* ButtonSetsumei;
  QPushButton* ButtonDraw;

  std::array<QPushButton*, 33> BarButtons{}; // slots 1..31; 0 and 32 are the walls
  TMyImage* MyImage = nullptr;

  [[nodiscard]] const TPuzzle& Puzzle() const { return Engine; }

protected:
  void keyPressEvent(QKeyEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void DrawAgain();

  void BuildControls();
  void FormCreate();
  void CreateBarButtons();
  void CreateSurface();

  void TimerCreateTimer();
  void BarButtonClick(QObject* Sender);
  void ButtonDrawClick();
  void ButtonSetsumeiClick();
  void ButtonCloseClick();
  void RadioGroupKeisyaClick();
  void ButtonBeginClick();

  // Every handler entered from Qt runs through here: the program's errors end the handler
  // and are shown in the error box, and the program goes on.
  template <typename TFunction> void Guarded(TFunction&& Handler);
  void ShowError(const std::string& Text);
  // Shows a box modal and returns at once; Closed runs once the pupil has closed it.
  void OpenBox(QMessageBox* Box, const std::function<void()>& Closed);

  void ShowCount(const std::string& Text) override;
  void ShowTarget(const std::string& Text) override;
  void LockBarButtons(bool Locked) override;
  void EnableDrawButton(bool Enabled) override;
  void ShowMessage(const std::string& Text) override;
  void ClearImage() override;
  void DrawMark(TRevealedBar Bar, bool SlopeMode) override;
  void DrawExample(int Summit, bool SlopeMode) override;

  // The picture as recorded: drawn on the surface, and told to a screen reader in the surface's
  // and each bar button's description.
  void ShowPicture();

  TPicture Picture; // what the surface shows, drawn and told from this one record
  std::unique_ptr<TSeededRandom> OwnRandom;
  TRandomSource* Random;
  TEffectsAfterBox AfterBox{*this}; // the puzzle's effects, those after a box when it is closed
  TPuzzle Engine;
  TGothicFaces Faces;
  TScreenFit Fit;
  TAnnouncer* Announcer = nullptr;
};
