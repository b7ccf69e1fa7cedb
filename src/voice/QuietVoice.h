#pragma once

#include "shared/Voice.h"

class StagePopupMenu;

// Her voice while the user may have asked for quiet: then no clip starts, and whatever else
// she does goes on. A clip that sounds can still be cut off.
class QuietVoice : public Voice {
public:
    QuietVoice(Voice& voice, bool& quiet) : voice_(voice), quiet_(quiet) {}

    // The item that switches the quiet on and off; switching it on ends a clip that sounds.
    void addMenuItem(StagePopupMenu& menu);

    bool playVoice(const QString& name) override;
    void stopVoice() override;

private:
    Voice& voice_;
    bool& quiet_;
};
