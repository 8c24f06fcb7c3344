#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

namespace faultscope {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in the terminal, a closed
// terminal) into closing the main window as the user would, so the settings and each record's
// view are kept instead of lost with the process. One per process.
class TerminationSignals : public QObject {
  public:
    explicit TerminationSignals(QWidget* window);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    void CloseWindow();

    QPointer<QWidget> window_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace faultscope
