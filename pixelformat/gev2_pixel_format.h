#pragma once
// The GigE Vision 2 packed formats that cameras still send next to the naming convention's own.

#include "pixelformat/pixel_format.h"

namespace quarx::pixelformat {

class Mono10Packed : public AbstractGev2PixelFormat {
 public:
  Mono10Packed();
  ~Mono10Packed() override;
};

class Mono12Packed : public AbstractGev2PixelFormat {
 public:
  Mono12Packed();
  ~Mono12Packed() override;
};

class BayerGR10Packed : public AbstractGev2PixelFormat {
 public:
  BayerGR10Packed();
  ~BayerGR10Packed() override;
};

class BayerRG10Packed : public AbstractGev2PixelFormat {
 public:
  BayerRG10Packed();
  ~BayerRG10Packed() override;
};

class BayerGB10Packed : public AbstractGev2PixelFormat {
 public:
  BayerGB10Packed();
  ~BayerGB10Packed() override;
};

class BayerBG10Packed : public AbstractGev2PixelFormat {
 public:
  BayerBG10Packed();
  ~BayerBG10Packed() override;
};

class BayerGR12Packed : public AbstractGev2PixelFormat {
 public:
  BayerGR12Packed();
  ~BayerGR12Packed() override;
};

class BayerRG12Packed : public AbstractGev2PixelFormat {
 public:
  BayerRG12Packed();
  ~BayerRG12Packed() override;
};

class BayerGB12Packed : public AbstractGev2PixelFormat {
 public:
  BayerGB12Packed();
  ~BayerGB12Packed() override;
};

class BayerBG12Packed : public AbstractGev2PixelFormat {
 public:
  BayerBG12Packed();
  ~BayerBG12Packed() override;
};

class RGB10V1Packed : public AbstractGev2PixelFormat {
 public:
  RGB10V1Packed();
  ~RGB10V1Packed() override;
};

class RGB12V1Packed : public AbstractGev2PixelFormat {
 public:
  RGB12V1Packed();
  ~RGB12V1Packed() override;
};

}  // namespace quarx::pixelformat
