#include "ui/FieldEdit.h"

#include "files/Cp1252.h"

namespace uzuviv {

QString FieldText(const QString& text, bool multiLine)
{
    return QString::fromStdString(FieldText(text.toStdString(), multiLine));
}

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent)
{
    // Keep the text as it stands, not as the signal carries it: the textChanged of an edit this
    // class turned down or rewrote arrives after the correction, with the stale text.
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        lastText_ = currentText_;
        currentText_ = text();
    });
    connect(this, &QLineEdit::textEdited, this, &FieldEdit::OnTextEdited);
}

void FieldEdit::OnTextEdited(const QString& edited)
{
    // QLineEdit emits textEdited before textChanged, so the text before this edit is still the
    // current one; should the order ever be the other way round, it is the one before last.
    const QString before = currentText_ != edited ? currentText_ : lastText_;
    QString text = edited;
    if (upperCase_) {
        QString upper;
        for (const char32_t c : text.toUcs4()) {
            const QString up = QString::fromUcs4(&c, 1).toUpper();
            upper += (up.size() == 1 || up.toUcs4().size() == 1) && FitsCp1252(up.toUcs4().front())
                         ? up
                         : QString::fromUcs4(&c, 1);
        }
        text = upper;
    }
    text = FieldText(text);
    const int cursor = cursorPosition() - static_cast<int>(edited.size() - text.size());
    if (typedMaxLength_ > 0 && text.size() > typedMaxLength_ && text.size() > before.size()) {
        // Refuse the keystroke or paste that goes past the limit, as a maximum length does.
        const int back = cursorPosition() - static_cast<int>(edited.size() - before.size());
        setText(before);
        setCursorPosition(std::max(0, back));
        return;
    }
    if (text != edited) {
        setText(text);
        setCursorPosition(std::max(0, cursor));
    }
}

} // namespace uzuviv
