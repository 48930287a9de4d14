// CCopyingDlg: the captionless "Installing files. Please wait..." notice shown while the
// engine copies. Modeless and self-owned: the engine destroys its window when the copy
// is done, and the object deletes itself once the window is gone.
#pragma once

#include "framework/dialog.h"

class CCopyingDlg : public CDialog {
public:
    // Creates and shows a notice; nullptr when its window could not be made.
    static CCopyingDlg* Show();

protected:
    CCopyingDlg();
    void PostNcDestroy() override { delete this; }
};
