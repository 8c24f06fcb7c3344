#pragma once

#include <QString>
#include <vector>

#include "core/viewtemplate/message_sink.h"

namespace faultscope::test {

// A message sink that keeps every message in the order shown and answers every question with
// `answer`.
class RecordedMessages final : public MessageSink {
  public:
    struct Message {
        MessageIcon icon;
        QString caption;
        QString text;
    };

    void Show(MessageIcon icon, const QString& caption, const QString& text) override {
        shown.push_back({icon, caption, text});
        texts.push_back(text);
    }
    bool AskYesNo(MessageIcon icon, const QString& caption, const QString& text) override {
        asked.push_back({icon, caption, text});
        return answer;
    }

    std::vector<Message> shown;
    std::vector<QString> texts;  // the text of each message shown
    std::vector<Message> asked;
    bool answer = false;
};

}  // namespace faultscope::test
