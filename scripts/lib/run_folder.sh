# Sourced by the scripts that run the release program, from the repository.

# Installs what is missing, builds the release program and goes into its
# run folder, with config.xml (the viewer's to edit: copied only when
# missing) and blob.dat (recorded with the shipped settings, again whenever
# the pool is newer).
enter_run_folder() {
  local root=$PWD run=build/release/run
  bash scripts/install-deps
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)"
  [ -f "$run/config.xml" ] || cp config.xml "$run/"
  cd "$run"
  if [ ! -f blob.dat ] || [ -n "$(find pool -newer blob.dat -print -quit)" ]; then
    echo "heden: recording blob.dat from pool/"
    bash "$root/scripts/record-archive" heden_blobmaker pool "$root/config.xml" blob.dat
  fi
}
