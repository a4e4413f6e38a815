#pragma once
// The about box, and the expression engine's information box.

#include <QDialog>
#include <string>

namespace pc {

class TTMyAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TTMyAbout(QWidget* parent = nullptr);
};

// What the "TFunctionParser Info" box says about the expression engine.
std::string FunctionParserInfo();

}  // namespace pc
