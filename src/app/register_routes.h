// Where a register value goes when the device (or the window itself) reports
// it: rows of an address range and the view that shows it. The main window
// owns one table; each panel adds its rows when it is created.
#pragma once

#include <functional>
#include <vector>

namespace zr78 {

class RegisterRoutes {
 public:
  using Apply = std::function<void(int address)>;

  // Registers first..last (inclusive) go to `apply`; several rows may cover
  // one address, and all of them run in the order they were added.
  void add(int first, int last, Apply apply) { rows_.push_back({first, last, std::move(apply)}); }
  void add(int address, Apply apply) { add(address, address, std::move(apply)); }

  // Runs every row covering the address; false when none does.
  bool route(int address) const {
    bool any = false;
    for (const Row& row : rows_) {
      if (address < row.first || address > row.last) continue;
      row.apply(address);
      any = true;
    }
    return any;
  }

 private:
  struct Row {
    int first, last;
    Apply apply;
  };
  std::vector<Row> rows_;
};

}  // namespace zr78
