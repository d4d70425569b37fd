// The page around the program: fetches blob.dat with a progress bar, waits
// for a click (browsers start sound only after one), runs the program, and
// is its DOM side: the canvas fitted to the view, the timeline strip, keys
// and mouse turned into its messages, its boxes, and Web Audio fed from its
// ring (src/audio/web). ?still=T runs `heden --still T` and shows the frame
// it wrote at the page's top-left, then titles the page "done".
'use strict';

(function () {
  const params = hedenParams.pageParams(location.search);
  const picture = document.getElementById('picture');
  const strip = document.getElementById('strip');
  const $ = id => document.getElementById(id);
  let running = false, audio = null, processor = null;
  const stats = { frames: 0, firstFrameAt: 0, readyAt: 0, startedAt: 0, audioTaken: 0,
                  starved: () => Module._heden_web_audio_starved() };
  window.hedenStats = stats;
  if (params.audioTap) window.hedenAudioTap = [];
  if (params.still !== null) document.body.classList.add('still');

  function fit() {
    const stripHeight = strip.style.display === 'block' ? strip.height : 0;
    const scale = Math.min(innerWidth / picture.width, (innerHeight - stripHeight) / picture.height);
    picture.style.width = Math.floor(picture.width * scale) + 'px';
    picture.style.height = Math.floor(picture.height * scale) + 'px';
    strip.style.width = picture.style.width;
  }
  addEventListener('resize', fit);

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else $('stage').requestFullscreen().catch(() => {});
  }

  const keyCodes = { Escape: 27, ' ': 32, Home: 36, ArrowLeft: 37, ArrowRight: 39, Enter: 13 };
  function virtualKey(e) {
    if (e.key in keyCodes) return keyCodes[e.key];
    if (/^F([1-9]|1[0-2])$/.test(e.key)) return 111 + Number(e.key.slice(1));
    if (/^[a-zA-Z0-9]$/.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
    return 0;
  }
  function onKey(e, press) {
    if (!running) return;
    if (e.key === 'F4') {
      if (press) toggleFullscreen();
      e.preventDefault();
      return;
    }
    const key = virtualKey(e);
    if (!key) return;
    e.preventDefault();
    Module._heden_web_key(key, press, e.repeat ? 1 : 0, e.shiftKey ? 1 : 0);
  }
  addEventListener('keydown', e => onKey(e, 1));
  addEventListener('keyup', e => onKey(e, 0));
  picture.addEventListener('dblclick', toggleFullscreen);

  function stripPoint(e) {
    const r = strip.getBoundingClientRect();
    return [Math.floor((e.clientX - r.left) * strip.width / r.width),
            Math.floor((e.clientY - r.top) * strip.height / r.height)];
  }
  strip.addEventListener('mousemove', e => {
    const [x, y] = stripPoint(e);
    Module._heden_web_strip_mouse(0, x, y, e.buttons & 1);
  });
  strip.addEventListener('mouseup', e => {
    if (e.button !== 0 && e.button !== 2) return;
    const [x, y] = stripPoint(e);
    Module._heden_web_strip_mouse(e.button === 0 ? 1 : 2, x, y, 0);
  });
  strip.addEventListener('contextmenu', e => e.preventDefault());

  function audioTake(event) {
    const out = event.outputBuffer, n = out.length;
    const left = out.getChannelData(0), right = out.getChannelData(1);
    const at = Module._heden_web_audio_take(n);
    if (!at) { left.fill(0); right.fill(0); return; }
    const samples = Module.HEAP16.subarray(at >> 1, (at >> 1) + 2 * n);
    for (let i = 0; i < n; ++i) {
      left[i] = samples[2 * i] / 32768;
      right[i] = samples[2 * i + 1] / 32768;
    }
    stats.audioTaken += n;
    // The test hook keeps the first 20 s played.
    if (window.hedenAudioTap && stats.audioTaken <= 20 * audio.sampleRate) window.hedenAudioTap.push(Int16Array.from(samples));
  }

  // What the program's platform backend calls (src/platform/web).
  const hooks = {
    windowMade(isPicture, width, height) {
      const canvas = isPicture ? picture : strip;
      canvas.width = width;
      canvas.height = height;
      if (!isPicture) strip.style.display = 'block';
      fit();
    },
    windowGone(isPicture) { if (!isPicture) strip.style.display = 'none'; },
    windowTitle(title) { if (params.still === null) document.title = title; },
    cursor(visible) { picture.style.cursor = visible ? 'default' : 'none'; },
    box(text, caption) {
      console.error(caption + ': ' + text);
      $('boxes').textContent += caption + ': ' + text + '\n';
    },
    // Rows bottom-up, 0x00RRGGBB.
    stripBlit(at, width, height) {
      const context = strip.getContext('2d');
      const image = context.createImageData(width, height);
      const pixels = Module.HEAPU32.subarray(at >> 2, (at >> 2) + width * height);
      for (let y = 0; y < height; ++y)
        for (let x = 0; x < width; ++x) {
          const p = pixels[(height - 1 - y) * width + x], o = 4 * (y * width + x);
          image.data[o] = p >> 16 & 255; image.data[o + 1] = p >> 8 & 255; image.data[o + 2] = p & 255; image.data[o + 3] = 255;
        }
      context.putImageData(image, 0, 0);
    },
    audioOpen(rate) {
      if (!audio) return 0;
      // A script processor runs on the page's own thread: no worklet
      // module to serve, no threads needing cross-origin isolation.
      processor = audio.createScriptProcessor(2048, 0, 2);
      processor.onaudioprocess = audioTake;
      processor.connect(audio.destination);
      return audio.sampleRate;
    },
    audioClose() {
      if (processor) processor.disconnect();
      processor = null;
    },
    frameShown() {
      if (!stats.frames++) stats.firstFrameAt = performance.now();
    },
  };

  function argv(args) {
    const all = ['heden'].concat(args);
    const table = Module._malloc(4 * (all.length + 1));
    all.forEach((arg, i) => {
      const size = Module.lengthBytesUTF8(arg) + 1, at = Module._malloc(size);
      Module.stringToUTF8(arg, at, size);
      Module.HEAPU32[(table >> 2) + i] = at;
    });
    Module.HEAPU32[(table >> 2) + all.length] = 0;
    return [all.length, table];
  }

  async function run() {
    running = true;
    stats.startedAt = performance.now();
    const [argc, table] = argv(hedenParams.programArguments(params));
    const code = await Module.ccall('main', 'number', ['number', 'number'], [argc, table], { async: true });
    running = false;
    if (audio) audio.close();
    return code;
  }

  async function runStill() {
    const code = await run();
    if (code !== 0) { document.title = 'failed ' + code; return; }
    const png = Module.FS.readFile('/still.png');
    const img = $('still');
    img.onload = () => { document.title = 'done'; };
    img.src = URL.createObjectURL(new Blob([png], { type: 'image/png' }));
  }

  function offerPlay() {
    const play = $('play');
    play.style.display = 'flex';
    play.addEventListener('click', async () => {
      play.style.display = 'none';
      if (params.audio) audio = new AudioContext({ sampleRate: 44100 });
      await run();
      $('stopped').style.display = 'flex';
    }, { once: true });
  }

  async function fetchBlob() {
    const response = await fetch('blob.dat');
    if (!response.ok) throw new Error('blob.dat: ' + response.status);
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader(), parts = [];
    let got = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      got += value.length;
      if (total) $('fill').style.width = (100 * got / total).toFixed(1) + '%';
      $('status').textContent = 'loading ' + (got / 1048576).toFixed(1) + ' MB';
    }
    const bytes = new Uint8Array(got);
    let at = 0;
    for (const part of parts) { bytes.set(part, at); at += part.length; }
    return bytes;
  }

  window.Module = {
    canvas: picture,
    heden: hooks,
    preRun: [() => {
      Module.addRunDependency('blob.dat');
      fetchBlob().then(bytes => {
        Module.FS.writeFile('/blob.dat', bytes);
        Module.removeRunDependency('blob.dat');
      }, error => {
        $('status').textContent = String(error);
        document.title = 'failed';
      });
    }],
    onRuntimeInitialized() {
      const config = new TextDecoder().decode(Module.FS.readFile('/config.xml'));
      Module.FS.writeFile('/config.xml', hedenParams.configWithParams(config, params));
      stats.readyAt = performance.now();
      $('loading').style.display = 'none';
      if (params.still !== null) runStill();
      else offerPlay();
    },
  };
})();
