#pragma once
// The program without its windows: the catalogue, the function manager and the two plot
// surfaces wired together as the main window wires them, for the script and the
// rendering verbs. Messages are printed instead of shown.

#include <iosfwd>
#include <memory>
#include <string>

#include "catalogue/notifier.h"
#include "plot/program_state.h"

namespace pc::cli {

// Shows what the program would show, as lines: "message N" and the text for a numbered
// message, "plain: TEXT" for a plain one. Questions are refused, as nobody can answer.
class PrintingNotifier : public Notifier {
  public:
    explicit PrintingNotifier(std::ostream& out) : m_out(out) {}

    void PlainMessage(const std::string& text) override;
    ModalResult ShowMessage(Language language, int number, ButtonSet buttons) override;

  private:
    std::ostream& m_out;
};

// Line breaks inside one printed text as "\r" and "\n".
std::string EscapeLineBreaks(const std::string& text);

// QtGui needs an application object for fonts and painting; this makes one on the
// offscreen platform the first time it is called.
void EnsureGuiApplication();

// The notifier is made before the state that reports through it.
struct PrintingNotifierHolder {
    explicit PrintingNotifierHolder(std::ostream& out) : notifier(out) {}
    PrintingNotifier notifier;
};

class HeadlessProgram : public PrintingNotifierHolder, public ProgramState {
  public:
    // Messages go to `messages`.
    explicit HeadlessProgram(std::ostream& messages);

    // Reads a configuration with the program's start-up rules on a screen of the given
    // size, printing its messages, and applies it. Empty when it could be read; else why
    // not, "cannot read 'PATH': REASON", for a file that is missing (the program would
    // end there) or that could not be read (the program would say why and go on).
    std::string ReadConfiguration(const std::string& path, int screenWidth, int screenHeight);
    // Lays both surfaces out: the main plot in a panel of width x height pixels, the
    // preview in the panel the configuration gives it. Both become ready to draw.
    void LayOut(int width, int height);
};

// A plot panel the CLI accepts: 50 to 8192 pixels each way (an 8K screen; the image of
// the largest panel takes 256 MB).
inline constexpr int kMinPanelSide = 50;
inline constexpr int kMaxPanelSide = 8192;

}  // namespace pc::cli
