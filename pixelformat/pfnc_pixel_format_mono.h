#pragma once
// The monochrome formats of the naming convention.

#include "pixelformat/pixel_format.h"

namespace quarx::pixelformat {

class Mono8 : public AbstractPfncPixelFormat {
 public:
  Mono8();
  ~Mono8() override;
};

class Mono8s : public AbstractPfncPixelFormat {
 public:
  Mono8s();
  ~Mono8s() override;
};

class Mono10 : public AbstractPfncPixelFormat {
 public:
  Mono10();
  ~Mono10() override;
};

class Mono10p : public AbstractPfncPixelFormat {
 public:
  Mono10p();
  ~Mono10p() override;
};

class Mono12 : public AbstractPfncPixelFormat {
 public:
  Mono12();
  ~Mono12() override;
};

class Mono12p : public AbstractPfncPixelFormat {
 public:
  Mono12p();
  ~Mono12p() override;
};

class Mono14 : public AbstractPfncPixelFormat {
 public:
  Mono14();
  ~Mono14() override;
};

class Mono14p : public AbstractPfncPixelFormat {
 public:
  Mono14p();
  ~Mono14p() override;
};

class Mono16 : public AbstractPfncPixelFormat {
 public:
  Mono16();
  ~Mono16() override;
};

class Mono32 : public AbstractPfncPixelFormat {
 public:
  Mono32();
  ~Mono32() override;
};

}  // namespace quarx::pixelformat
