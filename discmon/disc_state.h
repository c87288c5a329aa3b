#pragma once
// What an optical drive reports about the disc in it.
enum class DiscState {
    absent,  // no disc, tray open, or no answer
    loading, // a disc is in but not yet readable
    present, // a readable disc
};
