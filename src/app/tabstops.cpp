#include "app/tabstops.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <numeric>
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

namespace {

int total(const std::vector<int>& widths)
{
    return std::accumulate(widths.begin(), widths.end(), 0);
}

// The column widths for a line `room` pixels wide. `steps` holds the
// widths of all columns at each step of giving way, the full ones first.
// Between the first step that fits and the one before it the widest
// columns give way first: every column is held to one level, none below
// the step that fits. When even the last step is wider than the room, the
// full widths: the list scrolls sideways then.
std::vector<int> fitWidths(const std::vector<std::vector<int>>& steps, int room)
{
    if (steps.empty() || total(steps.front()) <= room || total(steps.back()) > room)
        return steps.empty() ? std::vector<int>{} : steps.front();
    std::size_t fits = 1;
    while (total(steps[fits]) > room)
        ++fits;
    const std::vector<int>& upper = steps[fits - 1];
    const std::vector<int>& lower = steps[fits];
    const auto heldTo = [&](int level) {
        std::vector<int> widths(upper.size());
        for (std::size_t j = 0; j < widths.size(); ++j)
            widths[j] = std::clamp(level, lower[j], upper[j]);
        return widths;
    };
    int low = 0;  // fits
    int high = *std::max_element(upper.begin(), upper.end());  // the upper step, which does not
    while (high - low > 1) {
        const int level = low + (high - low) / 2;
        (total(heldTo(level)) <= room ? low : high) = level;
    }
    return heldTo(low);
}

// The widest word of a caption: where it may wrap, the narrowest it gets.
int widestWord(const QFontMetrics& metrics, const QString& caption)
{
    int widest = 0;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

} // namespace

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
    // The columns follow the list's visible width, which the window's size
    // and the vertical scroll bar set.
    list->viewport()->installEventFilter(this);
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
    std::vector<int> text(n, 0), caption(n, 0), word(n, 0);
    const auto measure = [&](std::size_t column, const QString& t) {
        text[column] = std::max(text[column], metrics.horizontalAdvance(t));
    };
    for (int row = 0; row < list_->count(); ++row) {
        const QStringList parts = split_(oneRow(list_->item(row)->text()));
        if (parts.size() < 2)
            continue;
        for (qsizetype j = 0; j < parts.size(); ++j)
            measure(std::min(std::size_t(j), n - 1), parts[j]);
    }
    for (std::size_t j = 0; j < n; ++j) {
        for (const QString& t : alsoFit_[j])
            measure(j, t);
        const QString name = QString::fromLatin1(columns_[j].caption);
        const QFontMetrics captionMetrics(captions_[j] ? captions_[j]->font() : list_->font());
        caption[j] = captionMetrics.horizontalAdvance(name);
        word[j] = widestWord(captionMetrics, name);
    }
    // The steps of giving way; the narrow gap is the one a cut text keeps.
    const int narrow = kColumnGapChars * metrics.averageCharWidth();
    std::vector<int> full(n), bare(n), wrapped(n), close(n), tight(n);
    for (std::size_t j = 0; j < n; ++j) {
        if (j + 1 < n) {
            const int design = int((columns_[j + 1].designStart - columns_[j].designStart) * unit);
            full[j] = std::max({design, caption[j] + gap, std::min(text[j] + gap, 2 * design)});
        } else {
            full[j] = std::max(caption[j], text[j]) + gap;
        }
        bare[j] = std::min(full[j], std::max(caption[j], text[j]) + gap);
        wrapped[j] = std::min(bare[j], std::max(word[j], text[j]) + gap);
        close[j] = std::min(wrapped[j], std::max(word[j], text[j]) + narrow);
        tight[j] = std::min(close[j], word[j] + narrow);
    }
    lineWidth_ = total(full);
    widthSteps_ = {full, bare, wrapped, close, tight};
    fit();
}

void CaptionedColumns::fit()
{
    if (widthSteps_.empty())
        return;
    fittedTo_ = list_->viewport()->width();
    widths_ = fitWidths(widthSteps_, fittedTo_ - ListTextLeft(list_));
    starts_ = {0};
    for (std::size_t j = 0; j + 1 < widths_.size(); ++j)
        starts_.push_back(starts_.back() + widths_[j]);
    SetListColumns(list_, starts_, total(widths_), split_);

    // A caption wider than its column wraps at its blanks.
    if (!header_)
        return;
    const int gap = QFontMetrics(list_->font()).averageCharWidth() * kColumnGapChars;
    int height = 0;
    for (std::size_t i = 0; i < captions_.size() && i < widths_.size(); ++i) {
        QLabel* caption = captions_[i];
        if (!caption)
            continue;
        const int room = widths_[i] - gap;
        const bool wrap = caption->fontMetrics().horizontalAdvance(caption->text()) > room;
        caption->setWordWrap(wrap);
        if (wrap)
            caption->resize(room, caption->heightForWidth(room));
        else
            caption->adjustSize();
        height = std::max(height, caption->height());
    }
    header_->setMinimumHeight(height);
    placeCaptions();
}

bool CaptionedColumns::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == list_->viewport() && list_->viewport()->width() != fittedTo_)
        fit();
    return QObject::eventFilter(watched, event);
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
