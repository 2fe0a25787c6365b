#include "app/tabstops.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

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
    TabStopDelegate(std::initializer_list<int> dialogUnits, QObject* parent)
        : QStyledItemDelegate(parent), stops_(dialogUnits)
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

        const qreal unit = QFontMetricsF(opt.font).averageCharWidth() / 4.0;
        QList<QTextOption::Tab> tabs;
        for (int stop : stops_)
            tabs.append(QTextOption::Tab(stop * unit, QTextOption::LeftTab));
        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setTabs(tabs);
        layout.setWrapMode(QTextOption::NoWrap);

        painter->save();
        painter->setFont(opt.font);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, text, layout);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.text = oneRow(opt.text);
        const QWidget* widget = opt.widget;
        return (widget ? widget->style() : QApplication::style())
            ->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
    }

private:
    std::vector<int> stops_;
};

} // namespace

void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits)
{
    list->setItemDelegate(new TabStopDelegate(dialogUnits, list));
}

} // namespace varnet
