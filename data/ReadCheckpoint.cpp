#include "data/ReadCheckpoint.h"

#include <sys/stat.h>

namespace zentrik {

bool file_identity(int fd, FileIdentity& identity) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  identity.device = static_cast<uint64_t>(st.st_dev);
  identity.inode = static_cast<uint64_t>(st.st_ino);
  return true;
}

bool CheckpointTaker::take(int fd, ReadCheckpoint& checkpoint) const {
  // the state kept must be that of the last complete line, and the first line must
  // lie within the bytes checked, since the load condition's F reads it
  if (at_line_end_.bytes == 0 || at_line_end_.bytes != reader_.complete_bytes()) return false;
  ReadCheckpoint taken = at_line_end_;
  if (!reader_.fingerprint(taken.fingerprint) || !file_identity(fd, taken.file)) return false;
  checkpoint = taken;
  return true;
}

}  // namespace zentrik
