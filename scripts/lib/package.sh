# Sourced by the release scripts: the folder heden/ a release unpacks to.

# Stages build/package-PLATFORM/heden (in $folder; $staging is the folder
# above it) with config.xml and blob.dat, recorded by the archive maker of
# the native PRESET from its pool. The program and the readme go in after.
stage_release_folder() {  # stage_release_folder PLATFORM PRESET
  local run=build/$2/run
  cmake --preset "$2" >/dev/null
  cmake --build --preset "$2" -j "$(nproc)" --target heden_blobmaker heden_pool
  staging=build/package-$1
  folder=$staging/heden
  rm -rf "$staging"
  mkdir -p "$folder"
  bash scripts/record-archive "$run/heden_blobmaker" "$run/pool" config.xml "$folder/blob.dat"
  cp config.xml "$folder/"
}

# The viewer's readme for PLATFORM: the lines of scripts/release-readme.txt
# without a [platform] tag, and those tagged with this one, untagged.
release_readme() {  # release_readme PLATFORM
  sed -n -e "/^\[$1\]/{s///;p;d}" -e '/^\[[a-z0-9]*\]/d' -e p scripts/release-readme.txt
}
