#pragma once
// Acting on a modal window from inside a test: the action runs once the window is the active
// modal widget. A window that never appears fails the test instead of blocking it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

namespace bvq::test {

// Runs `action` on the next visible modal widget other than `notThis`.
inline void WhenModal(std::function<void(QWidget*)> action, QWidget* notThis = nullptr) {
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != notThis && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
      return;
    }
    if (clock->elapsed() > 5000) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    }
  });
  timer->start(10);
}

// Runs `action` on the next pop-up menu (the variable menu).
inline void WhenPopup(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* popup = QApplication::activePopupWidget();
    if (popup || clock->elapsed() > 5000) {
      timer->stop();
      timer->deleteLater();
      if (popup) {
        action(popup);
      } else {
        ADD_FAILURE() << "no pop-up menu appeared";
      }
    }
  });
  timer->start(10);
}

template <class T>
T* Child(QWidget* window, const char* name) {
  T* child = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  EXPECT_NE(child, nullptr) << name;
  return child;
}

}  // namespace bvq::test
