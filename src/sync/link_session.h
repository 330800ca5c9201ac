// One running link: the register table, the link state, the USB transport and
// the sync worker, wired together over a device (the real amplifier or the
// virtual one). The application and zr78ctl create one; tests make their own.
#pragma once

#include "sync/link_events.h"
#include "link/link_state.h"
#include "link/link_timing.h"
#include "registers/register_table.h"
#include "sync/sync_worker.h"
#include "link/usb_link.h"
#include "platform/clock.h"
#include "presets/folders.h"

namespace zr78 {

struct LinkSession {
  LinkSession(HidDevice& device, LinkEvents& events, const LinkTiming& timing,
              Folders presetFolders, const LanguageIndex& language)
      : folders(std::move(presetFolders)),
        link(device, table, state, steadyClock(), timing),
        worker(table, state, link, events, steadyClock(), timing, folders, language) {}
  ~LinkSession() { worker.stopLink(); }

  Folders folders;  // the worker's preset files
  RegisterTable table;
  LinkState state;
  UsbLink link;
  SyncWorker worker;
};

}  // namespace zr78
