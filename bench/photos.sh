# Shared by the benchmarks: the 22 twelve-megapixel sample photos, made once in bench/work/.
# Source it after scripts/lib.sh; sets `work` and `photos`.

work="$ROOT/bench/work"
photos="$work/photos-12mp-v1"
if [ ! -f "$photos/.complete" ]; then
    echo "Making the benchmark photos in $photos (once)..."
    rm -rf "$photos"
    "$BUILD_DIR/tools/tessaluma-samples" --workload "$photos" >/dev/null
    touch "$photos/.complete"
fi
