// The room log's rules: who has the say, how it passes, and what the log refuses.
#include <gtest/gtest.h>

#include "net/room_log.h"

namespace qn::net {
namespace {

LogEntry input(DeviceId device, uint32_t seq, uint32_t frame) {
  LogEntry entry(EntryKind::input);
  entry.device = device, entry.seq = seq, entry.frame = frame, entry.input = {InputKind::stylusDown, 1, 2};
  return entry;
}
LogEntry handover(DeviceId device, uint32_t seq, uint32_t frame, int32_t seat, DeviceId to, uint32_t version) {
  LogEntry entry(EntryKind::handover);
  entry.device = device, entry.seq = seq, entry.frame = frame, entry.seat = seat, entry.to = to, entry.seatsVersion = version;
  return entry;
}
LogEntry seatChange(EntryKind kind, DeviceId device, int32_t seat = 0) {
  LogEntry entry(kind);
  entry.device = device, entry.seat = seat;
  return entry;
}
void append(RoomLog& log, const LogEntry& entry) {
  ASSERT_EQ(log.refusal(entry), "") << formatEntry(entry);
  log.append(entry);
}

TEST(RoomLogTest, TheSayPassesByHandoversAsTheSeatEntriesTheSenderSawDecide) {
  RoomLog log;
  EXPECT_EQ(log.holder(), 1u);
  append(log, seatChange(EntryKind::seat, 2, 2));
  EXPECT_NE(log.refusal(seatChange(EntryKind::seat, 3, 2)), "");  // taken
  append(log, input(1, 1, 0));
  EXPECT_NE(log.refusal(input(2, 1, 5)), "");  // not the say
  EXPECT_NE(log.refusal(input(1, 3, 5)), "");  // not the next number
  append(log, input(1, 2, 5));
  EXPECT_NE(log.refusal(input(1, 3, 4)), "");  // before the frontier
  log.mark(10);
  EXPECT_NE(log.refusal(input(1, 3, 9)), "");
  EXPECT_NE(log.markRefusal(2, 11), "");
  // Seat 2's turn at frame 12: device 2 holds it as the one seat entry decides; with none seen, the host.
  EXPECT_NE(log.refusal(handover(1, 3, 12, 2, 1, 1)), "");
  EXPECT_NE(log.refusal(handover(1, 3, 12, 2, 2, 2)), "");  // more seat entries than there are
  append(log, handover(1, 3, 12, 2, 2, 1));
  EXPECT_EQ(log.holder(), 2u);
  EXPECT_EQ(log.holderSince(), 12u);
  EXPECT_EQ(log.mark(), 12u);
  EXPECT_EQ(log.resumeFrame(), 12u);
  EXPECT_TRUE(log.saidByHandover());
  EXPECT_NE(log.refusal(input(1, 4, 12)), "");
  append(log, input(2, 1, 12));
  EXPECT_EQ(log.resumeFrame(), 13u);
  // A claim after the sender's view does not count for its handover.
  append(log, seatChange(EntryKind::seat, 3, 1));
  append(log, handover(2, 2, 20, 1, 1, 1));
  EXPECT_EQ(log.holder(), 1u);
  EXPECT_EQ(log.holderOf(1), 3u);
  EXPECT_EQ(log.lastSeq(2), 2u);
  EXPECT_EQ(log.seatsOf(2), std::vector<int32_t>{2});
}

TEST(RoomLogTest, DigestsComeInOrderAndADepartingHolderLeavesTheSayAfterItsLastFrame) {
  RoomLog log;
  append(log, seatChange(EntryKind::seat, 2, 1));
  append(log, handover(1, 1, 3, 1, 2, 1));
  LogEntry digest(EntryKind::digest);
  digest.device = 2, digest.seq = 1, digest.frame = 40, digest.throwNumber = 2, digest.hash = 7;
  EXPECT_NE(log.refusal(digest), "");
  digest.throwNumber = 1;
  append(log, digest);
  EXPECT_EQ(log.digestOf(1), 7u);
  EXPECT_FALSE(log.digestOf(2));
  append(log, input(2, 2, 45));
  // Device 2 leaves with the say: its seat goes back to the host, which plays from frame 46 on.
  append(log, seatChange(EntryKind::leave, 2));
  EXPECT_EQ(log.holder(), 1u);
  EXPECT_EQ(log.holderSince(), 46u);
  EXPECT_FALSE(log.saidByHandover());
  EXPECT_NE(log.refusal(input(2, 3, 50)), "");
  EXPECT_NE(log.refusal(seatChange(EntryKind::seat, 2, 3)), "");  // gone for good
  // The host leaves: the device of the lowest seat still held becomes the host, with the say.
  append(log, seatChange(EntryKind::seat, 4, 3));
  append(log, seatChange(EntryKind::leave, 1));
  EXPECT_EQ(log.host(), 4u);
  EXPECT_EQ(log.holder(), 4u);
  EXPECT_EQ(log.holderOf(1, 1), 2u);  // as the first seat entry alone decided
}

}  // namespace
}  // namespace qn::net
