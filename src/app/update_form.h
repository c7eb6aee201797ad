#pragma once
// The update window (TUpdateForm): fetches the maker's update file over HTTP without blocking
// the window, compares its version with the running one and offers the download page when it
// is newer. Cancel closes the window at any time; what was under way is dropped.
#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QTimer>
#include <string>

#include "app/web_addresses.h"
#include "util/program_values.h"

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;

namespace bvq::app {

class TUpdateForm : public QDialog {
  Q_OBJECT
 public:
  // `address`: the update file; `runningVersion`: the version compared with it.
  explicit TUpdateForm(QWidget* parent = nullptr, const QString& address = UpdateFileAddress(),
                       const std::string& runningVersion = ProgramVersion());
  ~TUpdateForm() override;

  // A server that has not delivered the whole file after this long has failed.
  static constexpr int kDefaultTimeLimitMs = 20000;
  void SetTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

  void done(int result) override;

 private:
  void Connect();
  void Fetch();
  void Received();
  void Check();
  void Fail();
  void ShowStep(int progress, int text);

  QString address_;
  std::string runningVersion_;
  int timeLimitMs_ = kDefaultTimeLimitMs;
  QLabel* status_ = nullptr;         // Label1
  QPushButton* button_ = nullptr;    // Button1
  QProgressBar* progress_ = nullptr; // ProgressBar1
  QTimer start_;                     // Timer1
  QTimer deadline_;
  QNetworkAccessManager* network_ = nullptr;
  QNetworkReply* reply_ = nullptr;
  QByteArray body_;
  bool tooLarge_ = false;
  bool closed_ = false;
};

}  // namespace bvq::app
