#pragma once
// The RGB and BGR formats, with and without alpha, of the naming convention.

#include "pixelformat/pixel_format.h"

namespace quarx::pixelformat {

class RGB8 : public AbstractPfncPixelFormat {
 public:
  RGB8();
  ~RGB8() override;
};

class RGB10 : public AbstractPfncPixelFormat {
 public:
  RGB10();
  ~RGB10() override;
};

class RGB10p : public AbstractPfncPixelFormat {
 public:
  RGB10p();
  ~RGB10p() override;
};

class RGB12 : public AbstractPfncPixelFormat {
 public:
  RGB12();
  ~RGB12() override;
};

class RGB12p : public AbstractPfncPixelFormat {
 public:
  RGB12p();
  ~RGB12p() override;
};

class RGB14 : public AbstractPfncPixelFormat {
 public:
  RGB14();
  ~RGB14() override;
};

class RGB16 : public AbstractPfncPixelFormat {
 public:
  RGB16();
  ~RGB16() override;
};

class RGB10p32 : public AbstractPfncPixelFormat {
 public:
  RGB10p32();
  ~RGB10p32() override;
};

class RGBa8 : public AbstractPfncPixelFormat {
 public:
  RGBa8();
  ~RGBa8() override;
};

class RGBa10 : public AbstractPfncPixelFormat {
 public:
  RGBa10();
  ~RGBa10() override;
};

class RGBa10p : public AbstractPfncPixelFormat {
 public:
  RGBa10p();
  ~RGBa10p() override;
};

class RGBa12 : public AbstractPfncPixelFormat {
 public:
  RGBa12();
  ~RGBa12() override;
};

class RGBa12p : public AbstractPfncPixelFormat {
 public:
  RGBa12p();
  ~RGBa12p() override;
};

class RGBa14 : public AbstractPfncPixelFormat {
 public:
  RGBa14();
  ~RGBa14() override;
};

class RGBa16 : public AbstractPfncPixelFormat {
 public:
  RGBa16();
  ~RGBa16() override;
};

class BGR8 : public AbstractPfncPixelFormat {
 public:
  BGR8();
  ~BGR8() override;
};

class BGR10 : public AbstractPfncPixelFormat {
 public:
  BGR10();
  ~BGR10() override;
};

class BGR10p : public AbstractPfncPixelFormat {
 public:
  BGR10p();
  ~BGR10p() override;
};

class BGR12 : public AbstractPfncPixelFormat {
 public:
  BGR12();
  ~BGR12() override;
};

class BGR12p : public AbstractPfncPixelFormat {
 public:
  BGR12p();
  ~BGR12p() override;
};

class BGR14 : public AbstractPfncPixelFormat {
 public:
  BGR14();
  ~BGR14() override;
};

class BGR16 : public AbstractPfncPixelFormat {
 public:
  BGR16();
  ~BGR16() override;
};

class BGRa8 : public AbstractPfncPixelFormat {
 public:
  BGRa8();
  ~BGRa8() override;
};

class BGRa10 : public AbstractPfncPixelFormat {
 public:
  BGRa10();
  ~BGRa10() override;
};

class BGRa10p : public AbstractPfncPixelFormat {
 public:
  BGRa10p();
  ~BGRa10p() override;
};

class BGRa12 : public AbstractPfncPixelFormat {
 public:
  BGRa12();
  ~BGRa12() override;
};

class BGRa12p : public AbstractPfncPixelFormat {
 public:
  BGRa12p();
  ~BGRa12p() override;
};

class BGRa14 : public AbstractPfncPixelFormat {
 public:
  BGRa14();
  ~BGRa14() override;
};

class BGRa16 : public AbstractPfncPixelFormat {
 public:
  BGRa16();
  ~BGRa16() override;
};

}  // namespace quarx::pixelformat
