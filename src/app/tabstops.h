#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QWidget;

namespace varnet {

// How a line of a list splits into the texts of its columns. A line that
// gives one text spans the whole line (a header line).
using LineColumns = std::function<QStringList(const QString& line)>;
// The default: one column per TAB-separated field.
QStringList ColumnsAtTabs(const QString& line);

// Lines of `list` are drawn in columns: the texts `split` gives a line,
// text i from starts[i] pixels after the line's start. A text is cut short
// with an ellipsis where it would reach the next column, so a long text
// never pushes the texts after it out of their columns. Lines are at least
// `minimumLineWidth` pixels wide, so that a list narrower than its columns
// scrolls sideways as far as its last column goes. Called again, it moves
// the columns.
void SetListColumns(QListWidget* list, std::vector<int> starts, int minimumLineWidth,
                    LineColumns split = ColumnsAtTabs);

// Where the texts of a line of `list` stand as drawn: the left edge of
// each, in the list's viewport, and the text shown there.
struct DrawnField {
    int left;
    QString text;
};
std::vector<DrawnField> DrawnFields(const QListWidget* list, int row);
// How far the text of a line starts from the left edge of an unscrolled
// list's viewport.
int ListTextLeft(const QListWidget* list);

// A list drawn in columns under a row of captions, which scroll sideways
// with it. Each column is as wide as its design, its caption and its
// texts make it, but grows to at most twice its design: a longer text is
// cut short. It lives as long as its list.
//
// Where the list shows less than that, the columns give way so that every
// caption stays in view, in this order: first the room a design leaves
// beyond the texts, then a caption wraps at its blanks onto a second line,
// and last the longest texts are cut short, each column keeping at least
// its caption's longest word. Where even that does not fit, the columns
// keep their full widths and the list scrolls sideways.
class CaptionedColumns final : public QObject {
public:
    struct Column {
        const char* caption;
        int designStart;  // dialog units (a quarter of the font's average character width)
    };

    // The captions are made as labels in `header`, which stands just above
    // `list`, its left edge at the list's.
    CaptionedColumns(QListWidget* list, QWidget* header, std::vector<Column> columns,
                     LineColumns split = ColumnsAtTabs);

    // Texts a column must fit besides those of the lines it holds now (the
    // texts it will hold later).
    void alsoFit(std::size_t column, QStringList texts);

    // Widens the columns to the captions and the texts of the list's lines
    // and moves the captions over them.
    void lay();
    // How wide a line is with every column shown at its full width.
    int lineWidth() const { return lineWidth_; }
    // Where each column starts as drawn, in pixels from a line's text start.
    const std::vector<int>& starts() const { return starts_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the columns to the widths that the list's visible width allows.
    void fit();
    void placeCaptions();

    QListWidget* list_;
    QPointer<QWidget> header_;
    std::vector<Column> columns_;
    LineColumns split_;
    std::vector<QStringList> alsoFit_;
    std::vector<QPointer<QLabel>> captions_;
    // Each column's width at every step of giving way: full, without the
    // design's spare room, caption wrapped, texts cut to the caption.
    std::vector<std::vector<int>> widthSteps_;
    std::vector<int> widths_;
    std::vector<int> starts_;
    int lineWidth_ = 0;
    int fittedTo_ = -1;
};

} // namespace varnet
