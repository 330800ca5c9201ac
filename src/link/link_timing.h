// Every sleep, wait and timeout of the link, in milliseconds, as one struct.
// usb() is the default profile (the values the amplifier's USB link is tuned
// for); fast() shortens them for tests against the virtual amplifier.
#pragma once

namespace zr78 {

struct LinkTiming {
  // Frame codec
  int silenceLimit = 1500;  // device silence after which each send is a miss
  int missLimit = 4;        // misses that end the synchronisation loop (a count)

  // HID transport
  int reportReadTimeout = 500;   // one input report
  int reportWriteTimeout = 100;  // one output report
  int connectSleep = 100;        // before each connect attempt
  int lockRetrySleep = 2000;     // after " Channel is Blocked!"
  int openRetrySleep = 100;      // device absent
  int probeWait = 500;           // reply to the register-0 probe
  int probeSettle = 100;         // after a successful probe
  int replyWaitSlice = 5;        // how soon a reply wait notices a dead reader
  int stopPollSlice = 10;        // how soon a connect sleep notices the stop

  // Worker: start and handshake
  int threadStartSleep = 500;
  int identifyWait = 500;
  int handshakeReadSleep = 40;
  int handshakeFailSleep = 2000;
  int after1244Sleep = 20;
  int afterModeNamesSleep = 1000;
  int conditionPollSlice = 1;  // how often a bounded wait looks at its condition

  // Worker: full read
  int readReplyWait = 100;   // READ_REPLY_WAIT
  int dumpSleep = 500;       // after each CMD_DUMP_ALL
  int streamPollSleep = 10;  // x streamPolls while the dump streams
  int streamPolls = 400;
  int streamTailSleep = 200;  // once 1249 registers have arrived
  int gapPassSleep = 30;
  int readDoneSleep = 10;     // before the progress window closes
  int showAllStartSleep = 1;  // before the refreshed registers are posted
  int showAllTailSleep = 100;

  // Worker: synchronisation loop
  int loopSleep = 10;
  int writeReplyWait = 200;  // WRITE_REPLY_WAIT, the longest wait for an echo
  int echoWaitFloor = 20;    // the shortest, once the round trip is known
  int rereadSleep = 10;
  int requestSleep = 100;
  int idleShortSleep = 40;
  int idleLongSleep = 100;
  int keepAliveSleep1 = 50;
  int keepAliveSleep2 = 100;

  // Worker operations
  int bulkWriteWait = 800;  // BULK_WRITE_WAIT
  int bulkWritePassSleep = 1;  // after each walk over the file's registers
  int writeFileEndSleep = 1;
  int recallSleep = 100;
  int recallWait = 2000;
  int recallShowSleep = 200;
  int nameWriteWait = 2000;
  int nameReadWait = 500;
  int nameReadSleep = 10;
  int operationStartSleep = 10;
  int saveDoneSleep = 5;
  int flushLimit = 5000;  // pending edits reach the device before a save reads it

  // Shutdown
  int stopJoinLimit = 2000;

  static LinkTiming usb() { return LinkTiming{}; }

  // For tests against the virtual amplifier: same structure, short waits.
  static LinkTiming fast() {
    LinkTiming t;
    t.silenceLimit = 300;
    t.reportReadTimeout = 50;
    t.reportWriteTimeout = 50;
    t.connectSleep = 5;
    t.lockRetrySleep = 100;
    t.openRetrySleep = 10;
    t.probeWait = 100;
    t.probeSettle = 5;
    t.replyWaitSlice = 2;
    t.stopPollSlice = 2;
    t.threadStartSleep = 5;
    t.identifyWait = 100;
    t.handshakeReadSleep = 5;
    t.handshakeFailSleep = 50;
    t.after1244Sleep = 2;
    t.afterModeNamesSleep = 10;
    t.readReplyWait = 50;
    t.dumpSleep = 50;
    t.streamPollSleep = 2;
    t.streamTailSleep = 100;  // the tail of the dump on the 1 ms-per-report link model
    t.gapPassSleep = 2;
    t.readDoneSleep = 1;
    t.showAllTailSleep = 5;
    t.loopSleep = 1;
    t.writeReplyWait = 100;
    t.rereadSleep = 1;
    t.requestSleep = 5;
    t.idleShortSleep = 5;
    t.idleLongSleep = 10;
    t.keepAliveSleep1 = 5;
    t.keepAliveSleep2 = 10;
    t.bulkWriteWait = 200;
    t.recallSleep = 5;
    t.recallWait = 200;
    t.recallShowSleep = 5;
    t.nameWriteWait = 200;
    t.nameReadWait = 100;
    t.nameReadSleep = 1;
    t.operationStartSleep = 1;
    t.saveDoneSleep = 1;
    t.flushLimit = 3000;
    return t;
  }
};

}  // namespace zr78
