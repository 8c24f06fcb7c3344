#pragma once

#include <QString>
#include <functional>

namespace faultscope {

// The kind of box a message is shown in.
enum class MessageIcon { None, Information, Warning, Error };

// Shows one message to the user and returns when it was seen. An empty caption stands for the
// program's title. Windows show a modal box; the command-line tool prints; tests record.
using MessageSink =
    std::function<void(MessageIcon icon, const QString& caption, const QString& text)>;

}  // namespace faultscope
