#pragma once

#include <QLineEdit>
#include <QString>

namespace uzuviv {

// Turns line breaks into blanks and drops characters that Windows-1252 cannot hold, so nothing
// typed or pasted can break a file line or fail to be written.
QString FieldText(const QString& text, bool multiLine = false);

// A one-line box whose limits act on typing only: a longer text set by the program (a name read
// from a file) is shown whole and kept.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FieldEdit(QWidget* parent = nullptr);

    void SetTypedMaxLength(int length) { typedMaxLength_ = length; }
    int TypedMaxLength() const { return typedMaxLength_; }
    void SetUpperCase(bool upper) { upperCase_ = upper; }
    bool UpperCase() const { return upperCase_; }

private:
    void OnTextEdited(const QString& text);

    QString lastText_;
    QString currentText_;
    int typedMaxLength_ = 0;
    bool upperCase_ = false;
};

} // namespace uzuviv
