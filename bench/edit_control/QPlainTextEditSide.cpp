// bench_edit_control's QPlainTextEdit side (Qt 5 widgets).

#include <QPlainTextEdit>
#include <QTextBlock>

#include "bench/edit_control/QtEditorHarness.h"

int main(int argc, char** argv) {
  using namespace kestrel::bench;
  QApplication app(argc, argv);
  QPlainTextEdit edit;
  edit.setFont(BenchFont());
  edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  edit.setWordWrapMode(QTextOption::WordWrap);
  QtEditor editor;
  editor.widget = &edit;
  editor.viewport = edit.viewport();
  editor.setText = [&](const QString& text) { edit.setPlainText(text); };
  editor.caretToMiddle = [&] {
    edit.setTextCursor(QTextCursor(edit.document()->findBlockByNumber(kMiddleLine)));
    edit.centerCursor();
  };
  PrintResult("QPlainTextEdit", MeasureQtEditor(editor));
  return 0;
}
