// Dialog geometry in twips (1440 per inch; 15 per pixel at 96 dots per inch).
#pragma once

namespace padwire {

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
};

}  // namespace padwire
