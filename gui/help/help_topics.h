#pragma once
// The help window's topic tree and topic texts.

#include <QString>
#include <array>

namespace hz::gui {

struct HelpTopic {
    const char* key;       // "Main", "Main1".., "K02".."K18"
    const char* parentKey; // empty for the root
    const char* title;     // as shown, inner spaces kept (UTF-8)
    int image;             // 1 closed book (root), 2 open book (branches), 3 note page (topics)
};

inline constexpr int kHelpTopicCount = 22;
inline constexpr int kHelpTextCount = 17;

// In display order: each node follows the nodes it hangs under.
const std::array<HelpTopic, kHelpTopicCount>& helpTopics();

// The text number a key opens: the digits after the first character minus one for the three-character
// keys of the topics ("K02" opens text 1); 0 for the root and the branches, which open nothing.
int helpTextNumber(const QString& key);

// Topic text 1..17 and the notice shown before any topic is chosen, with CR LF between lines.
// Empty for a number outside 1..17.
QString helpText(int number);
QString helpNotice();

} // namespace hz::gui
