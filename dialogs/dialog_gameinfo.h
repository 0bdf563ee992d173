// dialog_gameinfo.h: the game information window (F1, action_show_info,
// show_info): the game's help text on its background colour, at the size
// and place the game information block asks for, caption "Game
// Information" unless the block names another.
#pragma once

#include "dialogs/dialog_box.h"

class CGameInformation;

// The window for the block: the text as paragraphs, no buttons; Esc and the
// close box close it.
TDialog GameInfo_MakeDialog(const CGameInformation& info);
// Shows the game's information window modally (the game waits), then
// clears the input state.
void GameInfo_Show();
