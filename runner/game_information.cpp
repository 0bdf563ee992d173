// game_information.cpp: the stored form of the game information block.
#include "runner/game_information.h"

#include "common/support_stream.h"

bool CGameInformation::LoadFromStream(CStream& s) {
  Clear();
  background_color = s.ReadInteger();
  embed = s.ReadBoolean();
  caption = s.ReadString();
  left = s.ReadInteger();
  top = s.ReadInteger();
  width = s.ReadInteger();
  height = s.ReadInteger();
  border = s.ReadBoolean();
  sizeable = s.ReadBoolean();
  stay_on_top = s.ReadBoolean();
  modal = s.ReadBoolean();
  auto rtf = s.ReadStream();
  text.assign(rtf->Bytes().begin(), rtf->Bytes().end());
  return true;
}

void CGameInformation::SaveToStream(CStream& s) const {
  s.WriteInteger(background_color);
  s.WriteBoolean(embed);
  s.WriteString(caption);
  s.WriteInteger(left);
  s.WriteInteger(top);
  s.WriteInteger(width);
  s.WriteInteger(height);
  s.WriteBoolean(border);
  s.WriteBoolean(sizeable);
  s.WriteBoolean(stay_on_top);
  s.WriteBoolean(modal);
  s.WriteStream(CStream(std::vector<uint8_t>(text.begin(), text.end())));
}
