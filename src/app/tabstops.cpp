#include "app/tabstops.h"

#include <QApplication>
#include <QFontMetrics>
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

// The gap left between a column's text and the next column.
constexpr int kColumnGapChars = 1;

class ColumnDelegate final : public QStyledItemDelegate {
public:
    ColumnDelegate(std::vector<int> starts, int minimumWidth, QObject* parent)
        : QStyledItemDelegate(parent), starts_(std::move(starts)), minimumWidth_(minimumWidth)
    {
    }

    void setColumns(std::vector<int> starts, int minimumWidth)
    {
        starts_ = std::move(starts);
        minimumWidth_ = minimumWidth;
    }

    // The fields of `text` as they are drawn: offset from the text's start
    // and the (elided) text.
    std::vector<DrawnField> fields(const QString& text, const QFont& font) const
    {
        const QFontMetrics metrics(font);
        const QStringList parts = oneRow(text).split(u'\t');
        std::vector<DrawnField> drawn;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const std::size_t column = std::min(std::size_t(i), starts_.empty() ? 0 : starts_.size() - 1);
            const int left = starts_.empty() ? 0 : starts_[column];
            const bool last = i + 1 == parts.size() || column + 1 >= starts_.size();
            if (last) {
                drawn.push_back({left, parts[i]});
                continue;
            }
            const int room = starts_[column + 1] - left - kColumnGapChars * metrics.averageCharWidth();
            drawn.push_back({left, metrics.elidedText(parts[i], Qt::ElideRight, std::max(room, 0))});
        }
        return drawn;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text));
        const QFontMetrics metrics(opt.font);
        for (const DrawnField& field : fields(text, opt.font)) {
            // The line may reach beyond the text area the style gives.
            const QRect at(textRect.left() + field.left, textRect.top(), metrics.horizontalAdvance(field.text) + 1,
                           textRect.height());
            painter->drawText(at, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, field.text);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text = QStringLiteral("X");
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        QSize hint = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
        const QFontMetrics metrics(opt.font);
        int drawn = 0;
        for (const DrawnField& field : fields(text, opt.font))
            drawn = std::max(drawn, field.left + metrics.horizontalAdvance(field.text));
        const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1);
        hint.setWidth(std::max(drawn + margins, minimumWidth_));
        return hint;
    }

private:
    std::vector<int> starts_;
    int minimumWidth_;
};

} // namespace

void SetListColumns(QListWidget* list, std::vector<int> starts, int minimumLineWidth)
{
    if (auto* delegate = dynamic_cast<ColumnDelegate*>(list->itemDelegate())) {
        delegate->setColumns(std::move(starts), minimumLineWidth);
        // The lines are measured again.
        list->doItemsLayout();
        return;
    }
    list->setItemDelegate(new ColumnDelegate(std::move(starts), minimumLineWidth, list));
}

namespace {

QStyleOptionViewItem lineOption(const QListWidget* list, const QRect& rect, const QString& text)
{
    QStyleOptionViewItem opt;
    opt.initFrom(list->viewport());
    opt.font = list->font();
    opt.rect = rect;
    opt.text = text;
    opt.features |= QStyleOptionViewItem::HasDisplay;
    opt.widget = list;
    return opt;
}

} // namespace

std::vector<DrawnField> DrawnFields(const QListWidget* list, int row)
{
    const auto* delegate = dynamic_cast<const ColumnDelegate*>(list->itemDelegate());
    const QListWidgetItem* item = list->item(row);
    if (!delegate || !item)
        return {};
    const QStyleOptionViewItem opt = lineOption(list, list->visualItemRect(item), item->text());
    const int textLeft = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, list).left();
    std::vector<DrawnField> fields = delegate->fields(item->text(), list->font());
    for (DrawnField& field : fields)
        field.left += textLeft;
    return fields;
}

int ListTextLeft(const QListWidget* list)
{
    const QStyleOptionViewItem opt = lineOption(list, QRect(0, 0, 400, 20), QStringLiteral("X"));
    return list->style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, list).left();
}

void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits, int minimumLineWidth)
{
    list->setItemDelegate(new TabStopDelegate(dialogUnits, minimumLineWidth, list));
}

} // namespace varnet
