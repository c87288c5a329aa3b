#pragma once
// An owner-drawn button with a thin sunken edge: the editor paints its face.
#include <QAbstractButton>

namespace bmpedit {

class BitmapEditor;

class ColourButton : public QAbstractButton {
  public:
    ColourButton(int id, const BitmapEditor& editor, QWidget* parent);

    int id() const { return id_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int id_;
    const BitmapEditor& editor_;
};

} // namespace bmpedit
