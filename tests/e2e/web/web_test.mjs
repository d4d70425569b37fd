// Drives Debian's chromium (headless, software WebGL) through the web page
// served from FOLDER on 127.0.0.1: the still of each time as a screenshot
// of the page's top-left, then a play with the timeline: the load time, the
// picture moving, the timeline's playhead following the audio played,
// a click on the held strip, Space, F4's fullscreen, Escape stopping; the
// first seconds of the audio played go to audio.raw, the measurements to
// measurements.json. Checks are printed "ok:" / "FAILED:".
// Usage: node web_test.mjs FOLDER OUT_DIR TRACK_SECONDS WIDTHxHEIGHT TIME...
import { chromium } from 'playwright-core';
import { createServer } from 'node:http';
import { readFile, writeFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

const [folder, out, track, area, ...times] = process.argv.slice(2);
const length = Number(track);
const [width, height] = area.split('x').map(Number);
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const minutes = 60 * 1000;
let failures = 0;
const check = (what, ok) => { console.log((ok ? 'ok: ' : 'FAILED: ') + what); if (!ok) failures++; };

// A plain static server, as any would be: files with their length.
const server = createServer(async (request, response) => {
  const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
  try {
    const body = await readFile(join(folder, path === '/' ? 'index.html' : path));
    response.writeHead(200, { 'Content-Type': types[extname(path)] || 'application/octet-stream', 'Content-Length': body.length });
    response.end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
const site = `http://127.0.0.1:${server.address().port}/index.html`;

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const measured = { stills: {} };
try {
  await stills();
  await play();
} finally {
  await writeFile(join(out, 'measurements.json'), JSON.stringify(measured, null, 2));
  await browser.close();
  server.close();
}
console.log(`${failures === 0 ? 'all' : failures} ${failures === 0 ? 'browser checks passed' : 'browser checks FAILED'}`);
process.exit(failures ? 1 : 0);

async function stills() {
  const page = await browser.newPage({ viewport: { width, height } });
  page.on('console', m => { if (m.type() === 'error') console.log('page: ' + m.text()); });
  for (const t of times) {
    const started = Date.now();
    await page.goto(`${site}?still=${t}`);
    await page.waitForFunction(() => document.title === 'done' || document.title.startsWith('failed'), null,
                               { timeout: 10 * minutes, polling: 250 });
    const title = await page.title();
    check(`the page's still at ${t} s is drawn (title "${title}")`, title === 'done');
    await page.screenshot({ path: join(out, `web-${t}.png`), clip: { x: 0, y: 0, width, height } });
    measured.stills[t] = { seconds: (Date.now() - started) / 1000 };
  }
  await page.close();
}

// The column of the timeline's playhead (pure green), -1 when none.
function playhead(page) {
  return page.evaluate(() => {
    const strip = document.getElementById('strip');
    const row = strip.getContext('2d').getImageData(0, 0, strip.width, 1).data;
    for (let x = 0; x < strip.width; ++x)
      if (row[4 * x] === 0 && row[4 * x + 1] === 255 && row[4 * x + 2] === 0) return x;
    return -1;
  });
}
function frames(page) { return page.evaluate(() => window.hedenStats.frames); }
function waitFor(page, f, arg) { return page.waitForFunction(f, arg, { timeout: 5 * minutes, polling: 100 }); }

async function play() {
  const page = await browser.newPage({ viewport: { width: 1000, height: 700 } });
  page.on('console', m => { if (m.type() === 'error') console.log('page: ' + m.text()); });
  await page.goto(`${site}?timeline&audiotap`);
  await page.waitForSelector('#play', { state: 'visible', timeout: 5 * minutes });
  measured.ready_ms = await page.evaluate(() => window.hedenStats.readyAt);
  check('the page offers "click to play" once blob.dat is in', true);
  await page.click('#play');
  await waitFor(page, () => window.hedenStats.frames >= 10);
  measured.first_frame_after_click_ms = await page.evaluate(() => window.hedenStats.firstFrameAt - window.hedenStats.startedAt);
  const picture = () => page.screenshot({ clip: { x: 0, y: 0, width: 1000, height: 500 } });
  const before = await picture(), n0 = await frames(page), t0 = Date.now();
  await waitFor(page, n => window.hedenStats.frames >= n + 60, n0);
  measured.frame_ms = (Date.now() - t0) / ((await frames(page)) - n0);
  check('the picture moves', !before.equals(await picture()));
  check('sound is played after the click', await page.evaluate(() => window.hedenAudioTap.some(b => b.some(s => s !== 0))));

  // The playhead stands where the music heard is: near the frames the
  // page's audio callback played from the ring (less the silence before
  // the music and the block playing; the picture shown is a frame old),
  // and it moves as they do.
  const columns = await page.evaluate(() => document.getElementById('strip').width);
  const where = async () => [(await playhead(page)) / columns * length, await page.evaluate(() =>
    (window.hedenStats.audioTaken - window.hedenStats.starved()) / 44100)];
  const [head1, heard1] = await where();
  await waitFor(page, n => window.hedenStats.frames >= n + 30, await frames(page));
  const [head2, heard2] = await where();
  Object.assign(measured, { playhead_seconds: [head1, head2], audio_taken_seconds: [heard1, heard2] });
  check(`the timeline's playhead (${head2.toFixed(2)} s) is within 2 s of the audio played (${heard2.toFixed(2)} s)`,
        head2 >= 0 && Math.abs(heard2 - head2) < 2);
  check(`the playhead moved as the audio did (${(head2 - head1).toFixed(2)} s against ${(heard2 - heard1).toFixed(2)} s)`,
        Math.abs((head2 - head1) - (heard2 - heard1)) < 0.5 + 2 * length / columns);

  // The first seconds of the music as played, for the comparison with the
  // decoder's own output.
  await waitFor(page, () => window.hedenAudioTap.reduce((n, b) => n + b.length / 2, 0) >= 4 * 44100);
  const samples = await page.evaluate(() => {
    const bytes = new Uint8Array(window.hedenAudioTap.reduce((n, b) => n + b.byteLength, 0));
    let at = 0, text = '';
    for (const b of window.hedenAudioTap) { bytes.set(new Uint8Array(b.buffer), at); at += b.byteLength; }
    for (let i = 0; i < bytes.length; i += 32768) text += String.fromCharCode(...bytes.subarray(i, i + 32768));
    return btoa(text);
  });
  await writeFile(join(out, 'audio.raw'), Buffer.from(samples, 'base64'));
  measured.audio_starved_frames = await page.evaluate(() => window.hedenStats.starved());

  // Space holds the picture (and the music); a click on the strip shows
  // the frame of that time, and it stays while the audio device's clock
  // runs on for 2 s; Space plays on from there.
  await page.keyboard.press('Space');
  const box = await page.locator('#strip').boundingBox();
  await page.mouse.click(box.x + box.width / 4, box.y + box.height / 2);
  const quarter = Math.floor(columns / 4);
  const near = x => Math.abs(x - quarter) <= 2;
  await waitFor(page, ([x]) => {
    const strip = document.getElementById('strip');
    const row = strip.getContext('2d').getImageData(x - 2, 0, 5, 1).data;
    for (let i = 0; i < 5; ++i) if (row[4 * i] === 0 && row[4 * i + 1] === 255 && row[4 * i + 2] === 0) return true;
    return false;
  }, [quarter]);
  check('a click on the held timeline moves the playhead there', true);
  await waitFor(page, n => window.hedenStats.audioTaken >= n + 2 * 44100, await page.evaluate(() => window.hedenStats.audioTaken));
  check('Space holds the picture: the playhead stands', near(await playhead(page)));
  await page.keyboard.press('Space');
  await waitFor(page, ([x]) => {
    const strip = document.getElementById('strip');
    const row = strip.getContext('2d').getImageData(0, 0, strip.width, 1).data;
    for (let i = x + 3; i < strip.width; ++i) if (row[4 * i] === 0 && row[4 * i + 1] === 255 && row[4 * i + 2] === 0) return true;
    return false;
  }, [quarter]);
  check('Space plays on from there', true);

  await page.keyboard.press('F4');
  await waitFor(page, () => document.fullscreenElement !== null);
  await page.keyboard.press('F4');
  await waitFor(page, () => document.fullscreenElement === null);
  check('F4 toggles the browser\'s fullscreen', true);

  await page.keyboard.press('Escape');
  await page.waitForSelector('#stopped', { state: 'visible', timeout: 2 * minutes });
  check('Escape stops the demo', true);
  await page.close();
}
