#include "lzh/codec/lzh_error.h"

namespace pelko::lzh {

std::string_view Describe(LzhError error) {
  switch (error) {
    case LzhError::None:
      return "no error";
    case LzhError::ReadFailed:
      return "cannot read the archive";
    case LzhError::WriteFailed:
      return "cannot write the output";
    case LzhError::Truncated:
      return "the archive is truncated";
    case LzhError::BadHeader:
      return "broken header";
    case LzhError::HeaderTooLarge:
      return "header too large";
    case LzhError::BadChecksum:
      return "header checksum error";
    case LzhError::BadHeaderCrc:
      return "header CRC error";
    case LzhError::UnknownMethod:
      return "unknown method";
    case LzhError::BadData:
      return "broken packed data";
    case LzhError::SizeMismatch:
      return "packed or original size does not match the data";
    case LzhError::CrcMismatch:
      return "CRC error";
    case LzhError::Cancelled:
      return "cancelled";
  }
  return "unknown error";
}

win::DWORD ToWin32(LzhError error) {
  switch (error) {
    case LzhError::None:
      return win::ERROR_SUCCESS;
    case LzhError::ReadFailed:
      return win::ERROR_READ_FAULT;
    case LzhError::WriteFailed:
      return win::ERROR_WRITE_FAULT;
    case LzhError::UnknownMethod:
      return win::ERROR_NOT_SUPPORTED;
    case LzhError::CrcMismatch:
      return win::ERROR_CRC;
    case LzhError::Cancelled:
      return win::ERROR_CANCELLED;
    case LzhError::Truncated:
    case LzhError::BadHeader:
    case LzhError::HeaderTooLarge:
    case LzhError::BadChecksum:
    case LzhError::BadHeaderCrc:
    case LzhError::BadData:
    case LzhError::SizeMismatch:
      return win::ERROR_FILE_CORRUPT;
  }
  return win::ERROR_INVALID_DATA;
}

}  // namespace pelko::lzh
