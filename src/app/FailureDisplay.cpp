#include "app/FailureDisplay.h"

#include "app/Main.h"
#include "common/FailureList.h"
#include "common/Platform.h"
#include "common/TextUtils.h"

namespace orv {

void OfferFailureList(TfrmMain& main, const FailureList& failures, std::string_view question,
                      std::string_view caption, Control& startButton) {
  if (failures.FailureCount == 0) return;
  Platform& p = main.platform();
  Globals& g = main.globals();
  main.lblMessage.setCaption(failure_text::kSomeFailed);
  p.processMessages();
  g.MessageText = question;
  g.MessageAnswer =
      p.messageBox(g.MessageText, failure_text::kWarningCaption, kMbYesNo | kMbIconExclamation);
  if (g.MessageAnswer != kIdYes) return;

  main.txtReadme.setLines(SplitLines(failures.FailureText));
  main.btnCloseErrorLog.setVisible(true);
  startButton.setVisible(false);
  main.fraReadme.setCaption(std::string(caption));
  main.fraReadme.setVisible(true);
  while (main.btnCloseErrorLog.visible()) {
    p.sleep(kFailureDisplayPoll);
    if (!p.processMessages()) break;  // the application quits
  }
  startButton.setVisible(true);
  main.fraReadme.setVisible(false);
}

}  // namespace orv
