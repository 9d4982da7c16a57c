#pragma once
// Making room for what the controls hold. A window laid out for one font and
// one language must hold the captions of another. A control short of room
// gets it by opening its row at its far edge: what lies beyond the edge
// moves on, and what ends at the same edge (its column) grows with it. The
// group holding the control grows by as much, and opens its own row in
// turn, so a group keeps holding its controls, and controls that did not
// overlap before do not overlap after. Other groups are walls: their
// controls move only with them.
#include <vector>

struct RoomBox {
  int left = 0, top = 0, width = 0, height = 0;
  int neededWidth = 0, neededHeight = 0;  // the room the content needs; 0: none
  bool group = false;                     // holds the boxes that lie inside it
};

// Gives every box at least the width and height it needs.
void MakeRoom(std::vector<RoomBox>& boxes);
