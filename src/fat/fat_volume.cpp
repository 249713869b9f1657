#include "fat/fat_volume.h"

#include <algorithm>
#include <cstring>

#include "fat/fat_check.h"
#include "text/dos_time.h"

namespace pelko::fat {
namespace {

ShortNameBytes DotName(std::string_view dots) {
  ShortNameBytes name;
  name.fill(' ');
  std::copy(dots.begin(), dots.end(), name.begin());
  return name;
}

DirectoryEntry NewEntry(const ShortName& name, std::uint8_t attributes) {
  DirectoryEntry e;
  e.name = name.bytes;
  e.caseFlags = name.caseFlags;
  e.attributes = attributes;
  e.created = e.written = text::DosTimeNow();
  e.accessDate = e.written.date;
  return e;
}

}  // namespace

Result<FatVolume> FatVolume::Mount(BlockDevice& device) {
  Result<BootSector> boot = ReadBootSector(device);
  if (!boot) return boot.status();
  Result<FatTable> fat = FatTable::Load(device, *boot);
  if (!fat) return Failed(win::ERROR_NOT_READY);
  return FatVolume(device, *boot, std::move(*fat));
}

std::uint32_t FatVolume::ClustersFor(std::uint64_t bytes) const {
  return static_cast<std::uint32_t>((bytes + boot_.ClusterBytes() - 1) / boot_.ClusterBytes());
}

Status FatVolume::CheckWritable() const {
  if (device_->IsWriteProtected()) return Failed(win::ERROR_WRITE_PROTECT);
  // A damaged floppy is never written: a write could land in a cluster that
  // another file still holds.
  return CheckBeforeWrite(*device_, boot_);
}

Status FatVolume::Fail(Status failure) {
  if (Result<FatTable> stored = FatTable::Load(*device_, boot_)) fat_ = std::move(*stored);
  return failure;
}

// ---------------------------------------------------------------- label

Result<std::string> FatVolume::Label() {
  Result<Directory> root = Directory::LoadRoot(*device_, boot_);
  if (!root) return root.status();
  std::optional<std::size_t> slot = root->LabelSlot();
  if (!slot) return std::string();
  ShortNameBytes bytes = root->EntryAt(*slot).name;
  if (bytes[0] == kEscapedE5) bytes[0] = kDeletedMark;
  std::string label(bytes.begin(), bytes.end());
  while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
  return label;
}

Status FatVolume::SetLabel(std::string_view label) {
  if (Status s = CheckWritable(); !s) return s;
  if (label.size() > 11) return Failed(win::ERROR_LABEL_TOO_LONG);
  Result<Directory> root = Directory::LoadRoot(*device_, boot_);
  if (!root) return root.status();
  std::optional<std::size_t> slot = root->LabelSlot();

  std::array<std::uint8_t, 11> bootCopy;
  if (label.empty()) {
    std::memcpy(bootCopy.data(), "NO NAME    ", 11);
    if (slot) root->EraseSlot(*slot);
  } else {
    bootCopy.fill(' ');
    std::copy(label.begin(), label.end(), bootCopy.begin());
    if (!slot) slot = root->FreeSlot();
    if (!slot) return Failed(win::ERROR_DISK_FULL);
    ShortName name{bootCopy, 0};
    if (name.bytes[0] == kDeletedMark) name.bytes[0] = kEscapedE5;
    DirectoryEntry entry = NewEntry(name, kAttrVolumeLabel);
    entry.created = text::DosTime{0, 0};
    entry.accessDate = 0;
    root->Put(*slot, entry);
  }
  if (Status s = root->Store(*device_); !s) return s;
  if (Status s = WriteBootLabel(*device_, boot_, bootCopy); !s) return s;
  boot_.label = bootCopy;
  return device_->Flush();
}

// ---------------------------------------------------------------- lookup

Result<Directory> FatVolume::OpenItemFolder(const DirectoryItem& item) {
  // ".." of a first-level folder says 0, and means the root.
  if (item.entry.firstCluster == 0) return Failed(win::ERROR_FILE_CORRUPT);
  return Directory::Load(*device_, boot_, fat_, item.entry.firstCluster);
}

Result<Directory> FatVolume::OpenFolder(const Path& path, std::vector<std::uint32_t>* ancestors) {
  Result<Directory> dir = Directory::LoadRoot(*device_, boot_);
  if (ancestors) ancestors->push_back(0);
  for (const std::string& name : path) {
    if (!dir) return dir;
    std::optional<DirectoryItem> item = dir->Find(name);
    if (!item || !item->entry.IsDirectory()) return Failed(win::ERROR_PATH_NOT_FOUND);
    dir = OpenItemFolder(*item);
    if (ancestors) ancestors->push_back(item->entry.firstCluster);
  }
  return dir;
}

Result<FatVolume::Located> FatVolume::Locate(const Path& path) {
  if (path.empty()) return Failed(win::ERROR_ACCESS_DENIED);  // the root itself
  Path parentPath(path.begin(), path.end() - 1);
  Result<Directory> parent = OpenFolder(parentPath);
  if (!parent) return parent.status();
  std::optional<DirectoryItem> item = parent->Find(path.back());
  return Located{std::move(*parent), std::move(item)};
}

Result<DirectoryItem> FatVolume::Stat(const Path& path) {
  if (path.empty()) {
    DirectoryItem root;
    root.entry.attributes = kAttrDirectory;
    return root;
  }
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (!at->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  return *at->item;
}

Result<std::vector<DirectoryItem>> FatVolume::List(const Path& folder) {
  Result<Directory> dir = OpenFolder(folder);
  if (!dir) return dir.status();
  return dir->Items();
}

// ---------------------------------------------------------------- data

// Runs of neighbouring clusters go to the device in one piece.
template <class Bytes, class Io>
static Status ForEachRun(const BootSector& boot, std::span<const std::uint32_t> chain, Bytes bytes,
                         Io io) {
  const std::size_t clusterBytes = boot.ClusterBytes();
  std::size_t i = 0;
  while (i < chain.size()) {
    std::size_t run = 1;
    while (i + run < chain.size() && chain[i + run] == chain[i] + run) ++run;
    std::size_t from = i * clusterBytes;
    if (from >= bytes.size()) break;
    std::size_t length = std::min(run * clusterBytes, bytes.size() - from);
    if (Status s = io(boot.ClusterOffset(chain[i]), bytes.subspan(from, length)); !s) return s;
    i += run;
  }
  return Ok();
}

Status FatVolume::WriteClusters(std::span<const std::uint32_t> chain,
                                std::span<const std::uint8_t> bytes) {
  Status s = ForEachRun(
      boot_, chain, bytes,
      [this](std::uint64_t at, std::span<const std::uint8_t> b) { return device_->Write(at, b); });
  if (!s) return s;
  // The rest of the last cluster is zeroed, not left as whatever was there.
  std::size_t tail = chain.size() * std::size_t{boot_.ClusterBytes()} - bytes.size();
  if (chain.empty() || tail == 0) return Ok();
  std::vector<std::uint8_t> zeros(tail, 0);
  return device_->Write(boot_.ClusterOffset(chain.back()) + (boot_.ClusterBytes() - tail), zeros);
}

Status FatVolume::ReadClusters(std::span<const std::uint32_t> chain,
                               std::span<std::uint8_t> bytes) {
  return ForEachRun(boot_, chain, bytes, [this](std::uint64_t at, std::span<std::uint8_t> b) {
    return device_->Read(at, b);
  });
}

Result<std::vector<std::uint8_t>> FatVolume::ReadFile(const Path& path) {
  Result<DirectoryItem> item = Stat(path);
  if (!item) return item.status();
  if (item->entry.IsDirectory()) return Failed(win::ERROR_ACCESS_DENIED);
  const DirectoryEntry& e = item->entry;
  std::vector<std::uint8_t> bytes;
  if (e.size == 0) return bytes;
  if (e.firstCluster == 0) return Failed(win::ERROR_FILE_CORRUPT);
  std::uint32_t wanted = ClustersFor(e.size);
  Result<std::vector<std::uint32_t>> chain = fat_.Chain(e.firstCluster, wanted);
  if (!chain) return chain.status();
  if (chain->size() < wanted) return Failed(win::ERROR_FILE_CORRUPT);
  bytes.resize(e.size);
  if (Status s = ReadClusters(*chain, bytes); !s) return s;
  return bytes;
}

// ---------------------------------------------------------------- changes

Result<std::uint32_t> FatVolume::SlotCost(const Directory& dir) const {
  if (dir.FreeSlot()) return std::uint32_t{0};
  if (dir.IsRoot()) return Failed(win::ERROR_DISK_FULL);
  return std::uint32_t{1};
}

Result<std::size_t> FatVolume::ReserveSlot(Directory& dir) {
  if (std::optional<std::size_t> slot = dir.FreeSlot()) return *slot;
  if (dir.IsRoot()) return Failed(win::ERROR_DISK_FULL);
  Result<std::vector<std::uint32_t>> fresh = fat_.FindFree(1);
  if (!fresh) return fresh.status();
  std::uint32_t cluster = fresh->front();
  std::vector<std::uint8_t> zeros(boot_.ClusterBytes(), 0);
  if (Status s = device_->Write(boot_.ClusterOffset(cluster), zeros); !s) return s;
  std::size_t slot = dir.SlotCount();
  fat_.Set(dir.Clusters().back(), FatEntry::Link(cluster));
  fat_.Set(cluster, FatEntry::End());
  dir.Grow(cluster);
  return slot;
}

Status FatVolume::CreateFile(const Path& path, bool mustBeNew) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  Directory& parent = at->parent;

  if (at->item) {
    DirectoryItem& item = *at->item;
    if (mustBeNew) return Failed(win::ERROR_FILE_EXISTS);
    if (item.entry.IsDirectory() || (item.entry.attributes & kAttrReadOnly))
      return Failed(win::ERROR_ACCESS_DENIED);
    // Emptied: the entry lets go of its clusters before they are freed.
    std::vector<std::uint32_t> old;
    if (item.entry.firstCluster != 0) old = fat_.SoundPrefix(item.entry.firstCluster);
    item.entry.firstCluster = 0;
    item.entry.size = 0;
    item.entry.written = text::DosTimeNow();
    item.entry.attributes |= kAttrArchive;
    parent.Put(item.slot, item.entry);
    if (Status s = parent.Store(*device_); !s) return Fail(s);
    if (!old.empty()) {
      fat_.Release(old);
      if (Status s = fat_.Store(*device_); !s) return Fail(s);
    }
    return device_->Flush();
  }

  Result<ShortName> name = MakeShortName(path.back());
  if (!name) return name.status();
  Result<std::uint32_t> cost = SlotCost(parent);
  if (!cost) return cost.status();
  if (*cost > fat_.FreeCount()) return Failed(win::ERROR_DISK_FULL);
  Result<std::size_t> slot = ReserveSlot(parent);
  if (!slot) return Fail(slot.status());
  parent.Put(*slot, NewEntry(*name, kAttrArchive));
  if (*cost > 0) {
    if (Status s = fat_.Store(*device_); !s) return Fail(s);
  }
  if (Status s = parent.Store(*device_); !s) return Fail(s);
  return device_->Flush();
}

Status FatVolume::CheckCreate(const Path& path, bool mustBeNew) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (at->item) {
    if (mustBeNew) return Failed(win::ERROR_FILE_EXISTS);
    if (at->item->entry.IsDirectory() || (at->item->entry.attributes & kAttrReadOnly))
      return Failed(win::ERROR_ACCESS_DENIED);
    return Ok();
  }
  Result<ShortName> name = MakeShortName(path.back());
  if (!name) return name.status();
  Result<std::uint32_t> cost = SlotCost(at->parent);
  if (!cost) return cost.status();
  if (*cost > fat_.FreeCount()) return Failed(win::ERROR_DISK_FULL);
  return Ok();
}

Status FatVolume::CommitContent(Directory& dir, std::size_t slot, DirectoryEntry entry,
                                std::span<const std::uint8_t> content,
                                const std::vector<std::uint32_t>& oldChain) {
  Result<std::vector<std::uint32_t>> chain = fat_.FindFree(ClustersFor(content.size()));
  if (!chain) return Fail(chain.status());
  // 1. data, 2. FAT, 3. the entry with its final size, 4. the old chain freed.
  if (Status s = WriteClusters(*chain, content); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  fat_.MakeChain(*chain);
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  entry.firstCluster = chain->empty() ? 0 : static_cast<std::uint16_t>(chain->front());
  entry.size = static_cast<std::uint32_t>(content.size());
  dir.Put(slot, entry);
  if (Status s = dir.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  if (oldChain.empty()) return Ok();
  fat_.Release(oldChain);
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  return device_->Flush();
}

Status FatVolume::PutFile(const Path& path, std::span<const std::uint8_t> content, bool mustBeNew) {
  if (Status s = CheckWritable(); !s) return s;
  if (content.size() > UINT32_MAX) return Failed(win::ERROR_DISK_FULL);
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  Directory& parent = at->parent;
  const std::uint32_t needed = ClustersFor(content.size());

  if (!at->item) {
    Result<ShortName> name = MakeShortName(path.back());
    if (!name) return name.status();
    Result<std::uint32_t> cost = SlotCost(parent);
    if (!cost) return cost.status();
    if (std::uint64_t{*cost} + needed > fat_.FreeCount()) return Failed(win::ERROR_DISK_FULL);
    Result<std::size_t> slot = ReserveSlot(parent);
    if (!slot) return Fail(slot.status());
    return CommitContent(parent, *slot, NewEntry(*name, kAttrArchive), content, {});
  }

  const DirectoryItem& item = *at->item;
  if (mustBeNew) return Failed(win::ERROR_FILE_EXISTS);
  if (item.entry.IsDirectory() || (item.entry.attributes & kAttrReadOnly))
    return Failed(win::ERROR_ACCESS_DENIED);
  std::vector<std::uint32_t> oldChain;
  if (item.entry.firstCluster != 0) {
    Result<std::vector<std::uint32_t>> old = fat_.Chain(item.entry.firstCluster);
    if (!old) return old.status();
    oldChain = std::move(*old);
  }
  DirectoryEntry entry = item.entry;
  entry.written = text::DosTimeNow();
  entry.accessDate = entry.written.date;
  entry.attributes |= kAttrArchive;
  if (needed <= fat_.FreeCount()) return CommitContent(parent, item.slot, entry, content, oldChain);
  if (needed > std::uint64_t{fat_.FreeCount()} + oldChain.size())
    return Failed(win::ERROR_DISK_FULL);

  // No room beside the old content: the old file goes first, so that the
  // name is at worst missing, never holding part of the new content. Its
  // long name, if another system gave it one, goes with it.
  parent.Erase(item);
  if (Status s = parent.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  fat_.Release(oldChain);
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  return CommitContent(parent, item.slot, entry, content, {});
}

Status FatVolume::WriteFile(const Path& path, std::span<const std::uint8_t> content) {
  if (Status s = CheckWritable(); !s) return s;
  Result<DirectoryItem> item = Stat(path);
  if (!item) return item.status();
  return PutFile(path, content, false);
}

Status FatVolume::Delete(const Path& path) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (!at->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  const DirectoryItem& item = *at->item;
  if (item.entry.IsDirectory() || (item.entry.attributes & kAttrReadOnly))
    return Failed(win::ERROR_ACCESS_DENIED);
  std::vector<std::uint32_t> chain;
  if (item.entry.firstCluster != 0) chain = fat_.SoundPrefix(item.entry.firstCluster);
  at->parent.Erase(item);
  if (Status s = at->parent.Store(*device_); !s) return Fail(s);
  if (!chain.empty()) {
    fat_.Release(chain);
    if (Status s = fat_.Store(*device_); !s) return Fail(s);
  }
  return device_->Flush();
}

Status FatVolume::Rename(const Path& from, const Path& to) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> source = Locate(from);
  if (!source) return source.status();
  if (!source->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  std::vector<std::uint32_t> ancestors;
  Path targetFolder(to.begin(), to.end() - (to.empty() ? 0 : 1));
  if (to.empty()) return Failed(win::ERROR_ACCESS_DENIED);
  Result<Directory> target = OpenFolder(targetFolder, &ancestors);
  if (!target) return target.status();

  DirectoryItem item = *source->item;
  const bool sameFolder = target->FirstCluster() == source->parent.FirstCluster();
  if (std::optional<DirectoryItem> existing = target->Find(to.back())) {
    // Only a new spelling of the same entry is allowed.
    if (!sameFolder || existing->slot != item.slot) return Failed(win::ERROR_ALREADY_EXISTS);
  }
  Result<ShortName> name = MakeShortName(to.back());
  if (!name) return name.status();
  if (item.entry.IsDirectory() &&
      std::find(ancestors.begin(), ancestors.end(), item.entry.firstCluster) != ancestors.end())
    return Failed(win::ERROR_ACCESS_DENIED);  // a folder into itself

  DirectoryEntry moved = item.entry;
  moved.name = name->bytes;
  moved.caseFlags = name->caseFlags;

  if (sameFolder) {
    Directory& dir = source->parent;
    // The old long name no longer belongs to the new short name.
    for (std::size_t slot = item.firstSlot; slot < item.slot; ++slot) dir.EraseSlot(slot);
    dir.Put(item.slot, moved);
    if (Status s = dir.Store(*device_); !s) return Fail(s);
    return device_->Flush();
  }

  Result<std::uint32_t> cost = SlotCost(*target);
  if (!cost) return cost.status();
  if (*cost > fat_.FreeCount()) return Failed(win::ERROR_DISK_FULL);
  Result<std::size_t> slot = ReserveSlot(*target);
  if (!slot) return Fail(slot.status());
  target->Put(*slot, moved);
  if (*cost > 0) {
    if (Status s = fat_.Store(*device_); !s) return Fail(s);
  }
  if (Status s = target->Store(*device_); !s) return Fail(s);
  source->parent.Erase(item);
  if (Status s = source->parent.Store(*device_); !s) return Fail(s);
  if (moved.IsDirectory()) {
    Result<Directory> self = OpenItemFolder(item);
    if (!self) return Fail(self.status());
    if (self->SlotCount() > 1) {
      DirectoryEntry up = self->EntryAt(1);
      if (up.name == DotName("..")) {
        up.firstCluster = static_cast<std::uint16_t>(target->FirstCluster());
        self->Put(1, up);
        if (Status s = self->Store(*device_); !s) return Fail(s);
      }
    }
  }
  return device_->Flush();
}

Status FatVolume::Replace(const Path& from, const Path& to) {
  if (Status s = CheckWritable(); !s) return s;
  if (to.empty()) return Failed(win::ERROR_ACCESS_DENIED);
  Result<Located> source = Locate(from);
  if (!source) return source.status();
  if (!source->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  Result<Located> target = Locate(to);
  if (!target) return target.status();
  if (!target->item) return Rename(from, to);
  if (target->parent.FirstCluster() != source->parent.FirstCluster())
    return Failed(win::ERROR_NOT_SAME_DEVICE);
  const DirectoryItem item = *source->item;
  const DirectoryItem old = *target->item;
  if (old.slot == item.slot) return Rename(from, to);  // a new spelling of the same entry
  if (item.entry.IsDirectory() || old.entry.IsDirectory() || (old.entry.attributes & kAttrReadOnly))
    return Failed(win::ERROR_ACCESS_DENIED);
  Result<ShortName> name = MakeShortName(to.back());
  if (!name) return name.status();

  std::vector<std::uint32_t> oldChain;
  if (old.entry.firstCluster != 0) oldChain = fat_.SoundPrefix(old.entry.firstCluster);
  DirectoryEntry moved = item.entry;
  moved.name = name->bytes;
  moved.caseFlags = name->caseFlags;

  // The source's entry goes first: cut off here, the target is as it was and
  // the new content merely lost clusters. Then one write switches the
  // target's entry to the new content, and only then is the old freed.
  Directory& dir = source->parent;
  dir.Erase(item);
  if (Status s = dir.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  for (std::size_t slot = old.firstSlot; slot < old.slot; ++slot) dir.EraseSlot(slot);
  dir.Put(old.slot, moved);
  if (Status s = dir.Store(*device_); !s) return Fail(s);
  if (Status s = device_->Flush(); !s) return Fail(s);
  if (oldChain.empty()) return Ok();
  fat_.Release(oldChain);
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  return device_->Flush();
}

Status FatVolume::MakeDirectory(const Path& path) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (at->item) return Failed(win::ERROR_ALREADY_EXISTS);
  Result<ShortName> name = MakeShortName(path.back());
  if (!name) return name.status();
  Directory& parent = at->parent;
  Result<std::uint32_t> cost = SlotCost(parent);
  if (!cost) return cost.status();
  if (*cost + 1 > fat_.FreeCount()) return Failed(win::ERROR_DISK_FULL);

  Result<std::size_t> slot = ReserveSlot(parent);
  if (!slot) return Fail(slot.status());
  Result<std::vector<std::uint32_t>> fresh = fat_.FindFree(1);
  if (!fresh) return Fail(fresh.status());
  const std::uint32_t cluster = fresh->front();

  DirectoryEntry entry = NewEntry(*name, kAttrDirectory);
  entry.firstCluster = static_cast<std::uint16_t>(cluster);
  std::vector<std::uint8_t> content(boot_.ClusterBytes(), 0);
  DirectoryEntry self = entry;
  self.name = DotName(".");
  self.caseFlags = 0;
  self.Encode(std::span<std::uint8_t, kEntryBytes>(content.data(), kEntryBytes));
  DirectoryEntry up = self;
  up.name = DotName("..");
  up.firstCluster = static_cast<std::uint16_t>(parent.FirstCluster());
  up.Encode(std::span<std::uint8_t, kEntryBytes>(content.data() + kEntryBytes, kEntryBytes));

  const std::uint32_t one[] = {cluster};
  if (Status s = WriteClusters(one, content); !s) return Fail(s);
  fat_.MakeChain(one);
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  parent.Put(*slot, entry);
  if (Status s = parent.Store(*device_); !s) return Fail(s);
  return device_->Flush();
}

Status FatVolume::RemoveDirectory(const Path& path) {
  if (Status s = CheckWritable(); !s) return s;
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (!at->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  const DirectoryItem& item = *at->item;
  if (!item.entry.IsDirectory()) return Failed(win::ERROR_DIRECTORY);
  if (item.entry.attributes & kAttrReadOnly) return Failed(win::ERROR_ACCESS_DENIED);
  Result<Directory> self = OpenItemFolder(item);
  if (!self) return self.status();
  if (!self->Items().empty()) return Failed(win::ERROR_DIR_NOT_EMPTY);
  at->parent.Erase(item);
  if (Status s = at->parent.Store(*device_); !s) return Fail(s);
  fat_.Release(self->Clusters());
  if (Status s = fat_.Store(*device_); !s) return Fail(s);
  return device_->Flush();
}

Status FatVolume::SetWriteTime(const Path& path, std::int64_t unixTime) {
  if (Status s = CheckWritable(); !s) return s;
  if (path.empty()) return Ok();
  Result<Located> at = Locate(path);
  if (!at) return at.status();
  if (!at->item) return Failed(win::ERROR_FILE_NOT_FOUND);
  DirectoryEntry e = at->item->entry;
  e.written = text::ToDosTime(unixTime);
  at->parent.Put(at->item->slot, e);
  if (Status s = at->parent.Store(*device_); !s) return s;
  return device_->Flush();
}

}  // namespace pelko::fat
