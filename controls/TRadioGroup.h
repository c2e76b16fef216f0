#pragma once

#include <QGroupBox>
#include <QStringList>

#include <functional>
#include <vector>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons in one column. OnChange runs only when the selected item
// changes, by mouse, keyboard or program; no item is selected when it is built.
class TRadioGroup : public QGroupBox {
public:
  TRadioGroup(QWidget* Parent, const QString& Caption, const QStringList& Items);

  [[nodiscard]] int ItemIndex() const;
  void SetItemIndex(int Index);
  [[nodiscard]] QRadioButton* Item(int Index) const;
  [[nodiscard]] int Count() const { return static_cast<int>(Buttons.size()); }

  // Where the caption and item Index stand when the group shows its texts in Font.
  [[nodiscard]] QRect CaptionRoom(const QFont& Font) const;
  [[nodiscard]] QRect ItemRect(int Index, const QFont& Font) const;

  std::function<void()> OnChange;

protected:
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;

private:
  void PlaceItems();

  QButtonGroup* Group;
  std::vector<QRadioButton*> Buttons;
};
