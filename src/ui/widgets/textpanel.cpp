#include "widgets/textpanel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace brenvik::ui {

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(13);
    setFont(f);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setObjectName(QStringLiteral("Memo1"));
}

void MemoEdit::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) emit memoClicked();
}

CaretLine MemoEdit::Caret(bool countlines) const {
    CaretLine c;
    const QTextCursor cur = textCursor();
    const QTextBlock block = cur.block();
    const int inblock = cur.position() - block.position();
    int linestart = 0, linelength = static_cast<int>(block.text().size()), lineno = 0;
    if (const QTextLayout* layout = block.layout(); layout != nullptr && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(inblock);
        if (line.isValid()) {
            linestart = line.textStart();
            linelength = line.textLength();
            lineno = line.lineNumber();
        }
    }
    c.x = inblock - linestart;
    c.text = block.text().mid(linestart, linelength);
    // Drop the line break that a wrapped line's text keeps at its end.
    while (c.text.endsWith(QChar::LineSeparator)) c.text.chop(1);
    c.y = -1;
    if (countlines) {
        int y = 0;
        for (QTextBlock b = document()->firstBlock(); b.isValid() && b != block; b = b.next())
            y += (b.layout() != nullptr && b.layout()->lineCount() > 0) ? b.layout()->lineCount() : 1;
        c.y = y + lineno;
    }
    return c;
}

void MemoEdit::PutCaretAtLine(int block) {
    QTextCursor cur(document()->findBlockByNumber(block));
    setTextCursor(cur);
}

TextPanel::TextPanel(QWidget* parent)
    : QWidget(parent),
      lblmemo_(new QLabel(QStringLiteral("Report / Source Data"), this)),
      lblmarked_(new QLabel(this)),
      caption_(new QLabel(QStringLiteral("Brenvik "), this)),
      memo_(new MemoEdit(this)),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    setObjectName(QStringLiteral("Panel1"));
    lblmemo_->setObjectName(QStringLiteral("lblmemo"));
    lblmarked_->setObjectName(QStringLiteral("lblmarked"));
    lblmarked_->setAutoFillBackground(true);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    lblmemo_->setMinimumWidth(120);

    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setToolTip(QStringLiteral("Move up page"));
    down_->setToolTip(QStringLiteral("Move down page"));
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(25, 25);
        b->setAutoRaise(true);
        b->hide();
    }

    auto* head = new QHBoxLayout;
    head->setContentsMargins(11, 4, 11, 0);
    head->addWidget(lblmemo_);
    head->addWidget(lblmarked_);
    head->addStretch(1);
    head->addWidget(caption_);
    head->addStretch(2);

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(up_);
    buttons->addStretch(1);
    buttons->addWidget(down_);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(5, 0, 5, 4);
    body->addWidget(memo_, 1);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(head);
    layout->addLayout(body, 1);
}

void TextPanel::setPageButtonsVisible(bool on) {
    up_->setVisible(on);
    down_->setVisible(on);
}

void TextPanel::SetLines(const QString& text, bool centred) {
    QTextOption option = memo_->document()->defaultTextOption();
    option.setAlignment(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    memo_->document()->setDefaultTextOption(option);
    memo_->setPlainText(text);
}

}  // namespace brenvik::ui
