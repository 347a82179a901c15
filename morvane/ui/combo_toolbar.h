#pragma once

#include <QPointer>
#include <QToolBar>

class QComboBox;

// The main toolbar with its three combo boxes: compress ratio (2010), trimming size (2200)
// and zoom (2001). A combo commits when a list item is chosen, or, in the two editable
// ones, on Enter or Esc; Tab moves on to the next combo and Up or Down opens the list.
class CComboToolBar : public QToolBar {
    Q_OBJECT
  public:
    explicit CComboToolBar(QWidget* parent);

    QComboBox* Combo(int id) const;
    QComboBox* CompressCombo() const { return m_compress; }
    QComboBox* TrimCombo() const { return m_trim; }
    QComboBox* ZoomCombo() const { return m_zoom; }
    bool ComboHasFocus() const;
    // The widget a mouse click has just given the focus to, away from a combo; null when
    // there is none. Asking forgets it: only the click that moved the focus is meant.
    QWidget* TakeClickFocusTarget();

    // The selected item's text, or the typed text, read as a number up to its '%'.
    static int ReadComboValue(const QComboBox* combo);

    void InitCombos(int compressRatio, int trimSize);
    // Idle update: follows the settings while a combo's list is closed and the user is not
    // typing into it.
    void SyncCombos(int zoom, bool fitScreen, int trimSize);

  signals:
    void zoomCommitted(int value);
    void compressCommitted(int value);
    void trimCommitted(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QComboBox* MakeCombo(int id, int width, bool editable);
    void Commit(QComboBox* combo);
    QComboBox* ComboOf(QObject* watched) const;

    QComboBox* m_compress;
    QComboBox* m_trim;
    QComboBox* m_zoom;
    QPointer<QWidget> m_clickFocusTarget;
};
