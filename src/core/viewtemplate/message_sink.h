#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace faultscope {

// The kind of box a message is shown in.
enum class MessageIcon { None, Information, Warning, Error };

// Where the program's messages to the user go: the windows show a modal box, the command-line
// tool prints, tests record. Whoever creates a window or an engine hands it the sink to use.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows one message and returns when it was seen. An empty caption stands for the program's
    // title.
    virtual void Show(MessageIcon icon, const QString& caption, const QString& text) = 0;
    // Asks a question answered Yes or No; No is the default and what closing the box answers.
    virtual bool AskYesNo(MessageIcon icon, const QString& caption, const QString& text) = 0;
};

// A sink that hands every message to a function and answers every question No: for the
// command-line tool and for code that collects messages.
class MessageCallback final : public MessageSink {
  public:
    using Function =
        std::function<void(MessageIcon icon, const QString& caption, const QString& text)>;
    explicit MessageCallback(Function show) : show_(std::move(show)) {}

    void Show(MessageIcon icon, const QString& caption, const QString& text) override {
        if (show_) {
            show_(icon, caption, text);
        }
    }
    bool AskYesNo(MessageIcon, const QString&, const QString&) override { return false; }

  private:
    Function show_;
};

}  // namespace faultscope
