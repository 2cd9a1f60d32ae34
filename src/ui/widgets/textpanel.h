#pragma once
// The text panel above the splitter: its title, the marked-events label, the program caption,
// the fixed-pitch text box and the two page buttons of the source view.
#include <QPlainTextEdit>
#include <QWidget>

class QLabel;
class QToolButton;

namespace brenvik::ui {

// Where the caret is, in displayed lines: a wrapped line counts as several.
struct CaretLine {
    int y = 0;       // displayed line, from 0 (-1 when not counted)
    int x = 0;       // characters before the caret on that displayed line
    QString text;    // the displayed line's text
};

class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEdit(QWidget* parent = nullptr);
    // The caret's displayed line; counting lines from the top only when countlines is set.
    CaretLine Caret(bool countlines) const;
    // Puts the caret at the start of a block (a panel line) with nothing selected.
    void PutCaretAtLine(int block);

signals:
    // The caret was placed by a mouse click.
    void memoClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class TextPanel : public QWidget {
    Q_OBJECT
public:
    explicit TextPanel(QWidget* parent = nullptr);

    MemoEdit* memo() const { return memo_; }
    QLabel* title() const { return lblmemo_; }
    QLabel* marked() const { return lblmarked_; }
    QToolButton* pageUp() const { return up_; }
    QToolButton* pageDown() const { return down_; }

    void setPageButtonsVisible(bool on);
    // Replaces the panel's text; centred text is for the welcome line only.
    void SetLines(const QString& text, bool centred = false);

private:
    QLabel* lblmemo_;
    QLabel* lblmarked_;
    QLabel* caption_;
    MemoEdit* memo_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace brenvik::ui
