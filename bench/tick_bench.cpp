// What one clock tick costs in the core (ten of them run every second, all day).

#include <benchmark/benchmark.h>

#include "core/application.h"
#include "platform/fake/fake_desktop.h"

namespace {

void BM_Tick(benchmark::State& state) {
  zdz::fake::FakeDesktop desk;
  desk.store.Put("0", state.range(0) ? "True" : "False");
  desk.store.Put("1", "True");
  desk.store.Put("2", "True");
  desk.store.Put("3", "False");
  zdz::Application app(desk);
  app.Main();
  int second = 0;
  for (auto _ : state) {
    desk.time.now.second = (second++ % 59) + 1;  // never the top of the hour
    desk.Tick();
  }
}
BENCHMARK(BM_Tick)->Arg(1)->Arg(0)->ArgName("24h");

}  // namespace
