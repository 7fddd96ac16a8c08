// The emulator's registry string: data of any bytes and length reads as that data when it fits
// the 255-byte buffer with its terminating NUL, and as absent otherwise.
#include "fuzz/fuzz_support.h"
#include "platform/common/emulator_record.h"
#include "platform/sim/sim_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace padwire;
  sim::Session& session = fuzz::started_session();
  const std::string value = fuzz::as_text(data, size);
  auto& registry = session.world().registry;
  registry.clear();
  registry.push_back({"HKLM", kEmulatorRecordKey, kEmulatorRecordValue, value});

  const std::string read = sim::recorded_emulator(session.world());

  fuzz::expect(read == (value.size() <= 254 ? value : std::string()),
               "the string is the data when it fits, else empty");
  return 0;
}
