#include "app/tabstops.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace varnet {

namespace {

// A line shows on one row even when a text in it holds line breaks (the
// command lines of a command function); the item view has already turned
// each line feed into a line separator.
QString oneRow(QString text)
{
    text.remove(u'\r');
    return text.replace(u'\n', u' ').replace(QChar::LineSeparator, u' ');
}

class TabStopDelegate final : public QStyledItemDelegate {
public:
    TabStopDelegate(std::initializer_list<int> dialogUnits, int minimumWidth, QObject* parent)
        : QStyledItemDelegate(parent), stops_(dialogUnits), minimumWidth_(minimumWidth)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.text = oneRow(opt.text);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const QRectF textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const QString text = opt.text;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        painter->save();
        painter->setFont(opt.font);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, text, columns(opt.font));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.text = oneRow(opt.text);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        QSize hint = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
        // As wide as the line is drawn, in its columns: the style measures
        // each TAB as a fixed width.
        QTextLayout layout(opt.text, opt.font);
        layout.setTextOption(columns(opt.font));
        layout.beginLayout();
        QTextLine line = layout.createLine();
        // A line is measured only once it is laid out; unbroken, it is as
        // wide as its text.
        line.setLineWidth(std::numeric_limits<int>::max() / 2);
        const qreal drawn = line.naturalTextWidth();
        layout.endLayout();
        const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1);
        hint.setWidth(std::max(int(std::ceil(drawn)) + margins, minimumWidth_));
        return hint;
    }

private:
    QTextOption columns(const QFont& font) const
    {
        const qreal unit = QFontMetricsF(font).averageCharWidth() / 4.0;
        QList<QTextOption::Tab> tabs;
        for (int stop : stops_)
            tabs.append(QTextOption::Tab(stop * unit, QTextOption::LeftTab));
        QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
        option.setTabs(tabs);
        option.setWrapMode(QTextOption::NoWrap);
        return option;
    }

    std::vector<int> stops_;
    int minimumWidth_;
};

} // namespace

void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits, int minimumLineWidth)
{
    list->setItemDelegate(new TabStopDelegate(dialogUnits, minimumLineWidth, list));
}

} // namespace varnet
