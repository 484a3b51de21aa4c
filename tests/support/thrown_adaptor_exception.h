#pragma once
// The adaptor exception a call throws, for tests that check its code and texts.

#include <gtest/gtest.h>

#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::test {

// Runs `call` and hands back the adaptor exception it must throw; a call that throws none
// fails the test and gets a generic error back.
template <typename Call>
sdkadaptor::ExceptionSdkAdaptor Thrown(Call&& call) {
  try {
    call();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    return e;
  }
  ADD_FAILURE() << "no ExceptionSdkAdaptor thrown";
  return sdkadaptor::ExceptionSdkAdaptor(0x4000, "none");
}

}  // namespace quarx::test
