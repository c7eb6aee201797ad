#pragma once
// The project information window (TInfoForm): number of file entries, total size of their
// source files (summed on a worker thread), size and volumes of the last setup built.
#include <QDialog>

#include "project/project.h"
#include "project/project_session.h"

class QLabel;

namespace bvq::app {

class TInfoForm : public QDialog {
  Q_OBJECT
 public:
  TInfoForm(const Project& project, const ProjectSession& session, QWidget* parent = nullptr);
  QString Text(const char* label) const;

 signals:
  // The sums are shown.
  void filled();
};

}  // namespace bvq::app
