#pragma once
// Copying a text box whole: "复制" in its context menu, and Ctrl+C with nothing selected (with a
// selection Ctrl+C copies the selection, as in any text box). A C text box also offers
// "复制为数组元素": its fields as they compile inside an array initialiser.

#include <QString>
#include <functional>

class QPlainTextEdit;

namespace hz::gui {

// The C fields ("0x00,0x1F,\n0x80") as array elements: every field followed by a comma, so that the
// text compiles between "{" and "}" and several copies can follow one another. Empty stays empty.
QString arrayElements(const QString& cFields);

// "复制" (action "CopyAll"): box's whole text to the clipboard.
void addCopyAction(QPlainTextEdit* box);
// "复制为数组元素" (action "CopyArrayElements"): the fields that cFields returns, as arrayElements.
void addArrayCopyAction(QPlainTextEdit* box, std::function<QString()> cFields);

} // namespace hz::gui
