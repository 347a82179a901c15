#pragma once

#include <QStyledItemDelegate>

// Paints a list line "first\tsecond" as a list box with one tab stop does: the second half
// starts at the first multiple of the tab interval past the end of the first half. The line
// text itself keeps its TAB. The size hint is the width so laid out, so the list's
// horizontal scroll range covers the widest line.
class CTabbedLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit CTabbedLineDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

    void SetTabInterval(int pixels) { m_nTabInterval = pixels > 0 ? pixels : 1; }
    int TabInterval() const { return m_nTabInterval; }
    // Where the part after the TAB begins, for a first half this wide.
    int SecondHalfX(int firstHalfWidth) const;
    // The whole line's width in pixels when laid out at the tab stops.
    int LineWidth(const QFontMetrics& metrics, const QString& line) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    int m_nTabInterval = 64;
};
