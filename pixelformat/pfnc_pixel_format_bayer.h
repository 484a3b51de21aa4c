#pragma once
// The Bayer-mosaic formats of the naming convention.

#include "pixelformat/pixel_format.h"

namespace quarx::pixelformat {

class BayerBG8 : public AbstractPfncPixelFormat {
 public:
  BayerBG8();
  ~BayerBG8() override;
};

class BayerBG10 : public AbstractPfncPixelFormat {
 public:
  BayerBG10();
  ~BayerBG10() override;
};

class BayerBG10p : public AbstractPfncPixelFormat {
 public:
  BayerBG10p();
  ~BayerBG10p() override;
};

class BayerBG12 : public AbstractPfncPixelFormat {
 public:
  BayerBG12();
  ~BayerBG12() override;
};

class BayerBG12p : public AbstractPfncPixelFormat {
 public:
  BayerBG12p();
  ~BayerBG12p() override;
};

class BayerBG14 : public AbstractPfncPixelFormat {
 public:
  BayerBG14();
  ~BayerBG14() override;
};

class BayerBG14p : public AbstractPfncPixelFormat {
 public:
  BayerBG14p();
  ~BayerBG14p() override;
};

class BayerBG16 : public AbstractPfncPixelFormat {
 public:
  BayerBG16();
  ~BayerBG16() override;
};

class BayerGB8 : public AbstractPfncPixelFormat {
 public:
  BayerGB8();
  ~BayerGB8() override;
};

class BayerGB10 : public AbstractPfncPixelFormat {
 public:
  BayerGB10();
  ~BayerGB10() override;
};

class BayerGB10p : public AbstractPfncPixelFormat {
 public:
  BayerGB10p();
  ~BayerGB10p() override;
};

class BayerGB12 : public AbstractPfncPixelFormat {
 public:
  BayerGB12();
  ~BayerGB12() override;
};

class BayerGB12p : public AbstractPfncPixelFormat {
 public:
  BayerGB12p();
  ~BayerGB12p() override;
};

class BayerGB14 : public AbstractPfncPixelFormat {
 public:
  BayerGB14();
  ~BayerGB14() override;
};

class BayerGB14p : public AbstractPfncPixelFormat {
 public:
  BayerGB14p();
  ~BayerGB14p() override;
};

class BayerGB16 : public AbstractPfncPixelFormat {
 public:
  BayerGB16();
  ~BayerGB16() override;
};

class BayerGR8 : public AbstractPfncPixelFormat {
 public:
  BayerGR8();
  ~BayerGR8() override;
};

class BayerGR10 : public AbstractPfncPixelFormat {
 public:
  BayerGR10();
  ~BayerGR10() override;
};

class BayerGR10p : public AbstractPfncPixelFormat {
 public:
  BayerGR10p();
  ~BayerGR10p() override;
};

class BayerGR12 : public AbstractPfncPixelFormat {
 public:
  BayerGR12();
  ~BayerGR12() override;
};

class BayerGR12p : public AbstractPfncPixelFormat {
 public:
  BayerGR12p();
  ~BayerGR12p() override;
};

class BayerGR14 : public AbstractPfncPixelFormat {
 public:
  BayerGR14();
  ~BayerGR14() override;
};

class BayerGR14p : public AbstractPfncPixelFormat {
 public:
  BayerGR14p();
  ~BayerGR14p() override;
};

class BayerGR16 : public AbstractPfncPixelFormat {
 public:
  BayerGR16();
  ~BayerGR16() override;
};

class BayerRG8 : public AbstractPfncPixelFormat {
 public:
  BayerRG8();
  ~BayerRG8() override;
};

class BayerRG10 : public AbstractPfncPixelFormat {
 public:
  BayerRG10();
  ~BayerRG10() override;
};

class BayerRG10p : public AbstractPfncPixelFormat {
 public:
  BayerRG10p();
  ~BayerRG10p() override;
};

class BayerRG12 : public AbstractPfncPixelFormat {
 public:
  BayerRG12();
  ~BayerRG12() override;
};

class BayerRG12p : public AbstractPfncPixelFormat {
 public:
  BayerRG12p();
  ~BayerRG12p() override;
};

class BayerRG14 : public AbstractPfncPixelFormat {
 public:
  BayerRG14();
  ~BayerRG14() override;
};

class BayerRG14p : public AbstractPfncPixelFormat {
 public:
  BayerRG14p();
  ~BayerRG14p() override;
};

class BayerRG16 : public AbstractPfncPixelFormat {
 public:
  BayerRG16();
  ~BayerRG16() override;
};

}  // namespace quarx::pixelformat
