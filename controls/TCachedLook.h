#pragma once

#include <QFont>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QTimer>

#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

// Everything a control's look depends on: its state as the style sees it, its settings and
// text, and what it inherits.
struct TLook {
  int State = 0;
  std::array<int, 6> Settings{};
  QString Text;
  QSize Size;
  qreal Ratio = 1;
  qint64 Palette = 0;
  QFont Font;
  const QStyle* Style = nullptr;
  bool operator==(const TLook&) const = default;
};

// A control painted from a copy of itself: the style draws each look once, and every later
// paint in the same look copies it. A click repaints its button three times (pressed, released,
// focus gone), and the style's text layout and rounded outlines cost far more than a copy.
// A control that can draw its look on any painter (DrawCopy) makes the copy when the look is
// first painted. Any other is painted as usual and copied afterwards (CopyLook), outside its
// paint: rendering a control from within its own paint is a recursive repaint. Only controls
// that fill their own background are copied, so that a copy holds every pixel.
template <class TControl> class TCachedLook : public TControl {
public:
  using TControl::TControl;

protected:
  // The look now, or none where a copy cannot stand in.
  [[nodiscard]] virtual std::optional<TLook> Look() const = 0;
  // Whether DrawCopy can draw the look as it is now on any painter, background included.
  [[nodiscard]] virtual bool DrawsCopies() const { return false; }
  virtual void DrawCopy(QPainter& /*Painter*/) const {}

  [[nodiscard]] TLook Inherited(int State) const
  {
    return {State,
            {},
            {},
            this->size(),
            this->devicePixelRatioF(),
            this->palette().cacheKey(),
            this->font(),
            this->style()};
  }

  // Copies the look as it is now, unless it has a copy already; never from within a paint.
  void CopyLook()
  {
    const std::optional<TLook> Now = Current();
    if (!Now || Find(*Now) != nullptr)
      return;
    QPixmap Copy = Blank(*Now);
    Copying = true; // the control paints as usual, into the copy
    this->render(&Copy, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    Copying = false;
    Keep(*Now, std::move(Copy));
  }

  void paintEvent(QPaintEvent* Event) override
  {
    const std::optional<TLook> Now = Current();
    if (!Now) {
      TControl::paintEvent(Event);
      return;
    }
    const QPixmap* Copy = Find(*Now);
    if (Copy == nullptr && DrawsCopies()) {
      QPixmap Drawn = Blank(*Now);
      QPainter Painter(&Drawn);
      DrawCopy(Painter);
      Painter.end();
      Copy = Keep(*Now, std::move(Drawn));
    }
    if (Copy != nullptr) {
      QPainter(this).drawPixmap(0, 0, *Copy);
      return;
    }
    TControl::paintEvent(Event);
    if (!CopyAsked) {
      CopyAsked = true;
      QTimer::singleShot(0, this, [this] {
        CopyAsked = false;
        CopyLook();
      });
    }
  }

private:
  // At a fractional pixel ratio a control may start between device pixels, where a copy drawn
  // from a whole pixel would not match; such screens paint as usual.
  [[nodiscard]] std::optional<TLook> Current() const
  {
    const qreal Ratio = this->devicePixelRatioF();
    if (Copying || !this->autoFillBackground() || Ratio != std::floor(Ratio))
      return std::nullopt;
    return Look();
  }

  [[nodiscard]] const QPixmap* Find(const TLook& Now) const
  {
    for (const auto& [Seen, Copy] : Copies)
      if (Seen == Now)
        return &Copy;
    return nullptr;
  }

  [[nodiscard]] static QPixmap Blank(const TLook& Now)
  {
    QPixmap Copy(Now.Size * Now.Ratio);
    Copy.setDevicePixelRatio(Now.Ratio);
    return Copy;
  }

  const QPixmap* Keep(const TLook& Now, QPixmap Copy)
  {
    if (Copies.size() == MaxCopies)
      Copies.erase(Copies.begin());
    Copies.emplace_back(Now, std::move(Copy));
    return &Copies.back().second;
  }

  static constexpr std::size_t MaxCopies = 32;
  bool Copying = false;
  bool CopyAsked = false;
  std::vector<std::pair<TLook, QPixmap>> Copies;
};

class TCachedButton : public TCachedLook<QPushButton> {
public:
  using TCachedLook::TCachedLook;

protected:
  [[nodiscard]] std::optional<TLook> Look() const override;
  [[nodiscard]] bool DrawsCopies() const override { return true; }
  void DrawCopy(QPainter& Painter) const override;
};

// A read-only edit that shows a figure: copied while it has no focus and nothing selected,
// so that no cursor or selection is ever left out of a copy. A new figure is copied as soon as
// it is set, before it is painted.
class TCachedEdit : public TCachedLook<QLineEdit> {
public:
  explicit TCachedEdit(QWidget* Parent);

protected:
  [[nodiscard]] std::optional<TLook> Look() const override;
};
