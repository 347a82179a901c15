#include "ui/tabbed_line_delegate.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int kTextMargin = 3;  // pixels between the item's edge and its text

}  // namespace

int CTabbedLineDelegate::SecondHalfX(int firstHalfWidth) const {
    return (firstHalfWidth / m_nTabInterval + 1) * m_nTabInterval;
}

int CTabbedLineDelegate::LineWidth(const QFontMetrics& metrics, const QString& line) const {
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) return metrics.horizontalAdvance(line);
    return SecondHalfX(metrics.horizontalAdvance(line.left(tab))) +
           metrics.horizontalAdvance(line.mid(tab + 1));
}

void CTabbedLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString line = item.text;
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    painter->save();
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(item.palette.color(item.state & QStyle::State_Enabled ? QPalette::Normal
                                                                         : QPalette::Disabled,
                                       selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(item.font);
    QRect text = item.rect.adjusted(kTextMargin, 0, 0, 0);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
        painter->drawText(text, flags, line);
    } else {
        const QString first = line.left(tab);
        painter->drawText(text, flags, first);
        text.setLeft(text.left() + SecondHalfX(item.fontMetrics.horizontalAdvance(first)));
        painter->drawText(text, flags, line.mid(tab + 1));
    }
    painter->restore();
}

QSize CTabbedLineDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    return QSize(LineWidth(item.fontMetrics, item.text) + 2 * kTextMargin,
                 item.fontMetrics.height() + 2);
}
