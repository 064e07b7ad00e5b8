// bench_edit_control's QScintilla side.

#include <Qsci/qsciscintilla.h>

#include "bench/edit_control/QtEditorHarness.h"

int main(int argc, char** argv) {
  using namespace kestrel::bench;
  QApplication app(argc, argv);
  QsciScintilla edit;
  // Scintilla sizes fonts in points: 13 px at the screen's resolution, to the hundredth.
  const double points = kFontPixels * 72.0 / edit.logicalDpiY();
  QFont font = BenchFont();
  font.setPointSizeF(points);
  edit.setFont(font);
  edit.SendScintilla(QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, QsciScintillaBase::STYLE_DEFAULT,
                     static_cast<long>(points * 100));
  edit.SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
  for (int margin = 0; margin < 3; ++margin) edit.setMarginWidth(margin, 0);  // text only, as the others
  edit.setWrapMode(QsciScintilla::WrapWord);
  QtEditor editor;
  editor.widget = &edit;
  editor.viewport = edit.viewport();
  editor.setText = [&](const QString& text) { edit.setText(text); };
  editor.caretToMiddle = [&] {
    edit.setCursorPosition(kMiddleLine, 0);
    edit.ensureCursorVisible();
  };
  PrintResult("QScintilla", MeasureQtEditor(editor));
  return 0;
}
