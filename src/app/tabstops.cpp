#include "app/tabstops.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
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

// The gap left between a column's text and the next column.
constexpr int kColumnGapChars = 1;

class ColumnDelegate final : public QStyledItemDelegate {
public:
    ColumnDelegate(std::vector<int> starts, int minimumWidth, LineColumns split, QObject* parent)
        : QStyledItemDelegate(parent), starts_(std::move(starts)), minimumWidth_(minimumWidth), split_(std::move(split))
    {
    }

    void setColumns(std::vector<int> starts, int minimumWidth, LineColumns split)
    {
        starts_ = std::move(starts);
        minimumWidth_ = minimumWidth;
        split_ = std::move(split);
    }

    // The fields of `text` as they are drawn: offset from the text's start
    // and the (elided) text. A line of one field spans the line; in others
    // every field but one of the last column keeps to its column.
    std::vector<DrawnField> fields(const QString& text, const QFont& font) const
    {
        const QFontMetrics metrics(font);
        const QStringList parts = split_(oneRow(text));
        std::vector<DrawnField> drawn;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const std::size_t column = std::min(std::size_t(i), starts_.empty() ? 0 : starts_.size() - 1);
            const int left = starts_.empty() ? 0 : starts_[column];
            const bool last = parts.size() == 1 || column + 1 >= starts_.size();
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
    LineColumns split_;
};

} // namespace

QStringList ColumnsAtTabs(const QString& line)
{
    return line.split(u'\t');
}

void SetListColumns(QListWidget* list, std::vector<int> starts, int minimumLineWidth, LineColumns split)
{
    if (auto* delegate = dynamic_cast<ColumnDelegate*>(list->itemDelegate())) {
        delegate->setColumns(std::move(starts), minimumLineWidth, std::move(split));
        // The lines are measured again.
        list->doItemsLayout();
        list->viewport()->update();
        return;
    }
    list->setItemDelegate(new ColumnDelegate(std::move(starts), minimumLineWidth, std::move(split), list));
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

CaptionedColumns::CaptionedColumns(QListWidget* list, QWidget* header, std::vector<Column> columns, LineColumns split)
    : QObject(list), list_(list), header_(header), columns_(std::move(columns)), split_(std::move(split)),
      alsoFit_(columns_.size())
{
    int height = 0;
    for (const Column& column : columns_) {
        auto* caption = new QLabel(QString::fromLatin1(column.caption), header);
        caption->adjustSize();
        height = std::max(height, caption->height());
        captions_.emplace_back(caption);
    }
    header->setMinimumHeight(height);
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeCaptions(); });
}

void CaptionedColumns::alsoFit(std::size_t column, QStringList texts)
{
    if (column < alsoFit_.size())
        alsoFit_[column] = std::move(texts);
}

void CaptionedColumns::lay()
{
    const std::size_t n = columns_.size();
    if (n == 0)
        return;
    const QFontMetrics metrics(list_->font());
    const qreal unit = QFontMetricsF(list_->font()).averageCharWidth() / 4.0;
    const int gap = metrics.averageCharWidth() * 2;
    // What each column's texts and caption need; a line that spans the list
    // is in no column.
    std::vector<int> text(n, 0), caption(n, 0);
    const auto fit = [&](std::size_t column, const QString& t) {
        text[column] = std::max(text[column], metrics.horizontalAdvance(t));
    };
    for (int row = 0; row < list_->count(); ++row) {
        const QStringList parts = split_(oneRow(list_->item(row)->text()));
        if (parts.size() < 2)
            continue;
        for (qsizetype j = 0; j < parts.size(); ++j)
            fit(std::min(std::size_t(j), n - 1), parts[j]);
    }
    for (std::size_t j = 0; j < n; ++j) {
        for (const QString& t : alsoFit_[j])
            fit(j, t);
        caption[j] = metrics.horizontalAdvance(QString::fromLatin1(columns_[j].caption));
    }
    starts_ = {0};
    for (std::size_t j = 0; j + 1 < n; ++j) {
        const int design = int((columns_[j + 1].designStart - columns_[j].designStart) * unit);
        const int width = std::max({design, caption[j] + gap, std::min(text[j] + gap, 2 * design)});
        starts_.push_back(starts_.back() + width);
    }
    lineWidth_ = starts_.back() + std::max(caption[n - 1], text[n - 1]) + gap;
    SetListColumns(list_, starts_, lineWidth_, split_);
    placeCaptions();
}

// The captions stand over the columns, shifted as far as the list is
// scrolled sideways.
void CaptionedColumns::placeCaptions()
{
    if (!header_)
        return;
    const int left = list_->frameWidth() + ListTextLeft(list_) - list_->horizontalScrollBar()->value();
    for (std::size_t i = 0; i < captions_.size() && i < starts_.size(); ++i)
        if (QLabel* caption = captions_[i])
            caption->move(left + starts_[i], 0);
}

} // namespace varnet
