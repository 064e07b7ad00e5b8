#pragma once
// The measuring loop for the Qt peers. A key goes to the editor as the window system would send
// it (a key event to the focused editor); a step ends when the editor's viewport has been
// painted and the events that paint posted are processed, i.e. when Qt has flushed the picture.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>
#include <functional>

#include "bench/edit_control/EditBenchText.h"
#include "bench/edit_control/EditControlProtocol.h"

namespace kestrel::bench {

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct QtEditor {
  QWidget* widget = nullptr;    // what gets the keys
  QWidget* viewport = nullptr;  // what paints the text
  std::function<void(const QString&)> setText;
  std::function<void()> caretToMiddle;
};

// Processes events until Target has painted at least once more (or two seconds passed).
inline void WaitForPaint(const PaintCounter& counter, int before) {
  QElapsedTimer timer;
  timer.start();
  while (counter.paints == before && timer.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 5);
  QApplication::processEvents();
}

inline void SendKey(QWidget* target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

inline EditControlResult MeasureQtEditor(QtEditor editor) {
  const QString text = QString::fromStdU16String(MakeEditBenchText<char16_t>(kLines, u"\n"));
  PaintCounter counter;
  editor.viewport->installEventFilter(&counter);
  editor.widget->resize(kWidth, kHeight);
  editor.widget->show();
  editor.widget->setFocus();
  WaitForPaint(counter, 0);

  EditControlResult r;
  const double rssBefore = ResidentMb();
  int before = counter.paints;
  double start = NowMs();
  editor.setText(text);
  WaitForPaint(counter, before);
  r.openMs = NowMs() - start;

  r.rssMb = ResidentMb() - rssBefore;

  editor.caretToMiddle();
  WaitForPaint(counter, counter.paints);
  const double keysStart = NowMs();
  for (int i = 0; i < kKeystrokes && WithinBudget(keysStart); ++i) {
    const char c = KeystrokeChar(i);
    const int key = c == ' ' ? Qt::Key_Space : Qt::Key_A + (c - 'a');
    before = counter.paints;
    start = NowMs();
    SendKey(editor.widget, key, QString(QChar(c)));
    WaitForPaint(counter, before);
    r.keyMs.push_back(NowMs() - start);
  }
  const double pagesStart = NowMs();
  for (int i = 0; i < kPages && WithinBudget(pagesStart); ++i) {
    before = counter.paints;
    start = NowMs();
    SendKey(editor.widget, Qt::Key_PageDown, {});
    WaitForPaint(counter, before);
    r.pageMs.push_back(NowMs() - start);
  }
  return r;
}

inline QFont BenchFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(kFontPixels);
  return font;
}

}  // namespace kestrel::bench
