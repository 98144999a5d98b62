// The window over the whole desktop behind setup's wizard: a vertical colour
// gradient with the title drawn large, white over a shadow.
#pragma once

#include <QWidget>

namespace zentrik {

class BackgroundWindow : public QWidget {
 public:
  BackgroundWindow();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zentrik
