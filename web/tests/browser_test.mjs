// The web build in a real browser: Debian's chromium, headless, WebGL 2 on SwiftShader, driven by
// playwright-core (no browser of its own). Serves out/web/ and the native reference pictures.
//
//   node browser_test.mjs [OUT_DIR] [--screenshot PNG] [--music FILE]
//
// Fails (exit status 1) on any failed check; prints the figures measured on the way.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '../..');
const argv = process.argv.slice(2);
const option = (name) => {
  const i = argv.indexOf(name);
  return i >= 0 ? argv[i + 1] : undefined;
};
const outDir = path.resolve(argv.find((a, i) => !a.startsWith('--') && !(argv[i - 1] || '').startsWith('--')) ||
  path.join(repo, 'out/web'));
const referenceDir = path.join(repo, 'tests/reference/pictures');
const screenshot = option('--screenshot');
// The web build's pictures of the comparison, and a difference picture of each, go here.
const picturesDir = path.resolve(option('--pictures') || path.join(repo, 'build-web/test-output'));
const musicFile = option('--music');
const FAMILIES = ['2020', 'cubes', 'ring', 'lines', 'kaleidoscope'];

function family(mode) {
  for (const name of ['CUBES', 'RING', 'LINES', 'KALEIDOSCOPE']) {
    if (mode.includes(`_2021_${name}_`)) return name.toLowerCase();
  }
  return '2020';
}

const figures = [];
const report = (text) => {
  figures.push(text);
  console.log(`# ${text}`);
};

// ---- serving and the browser ----------------------------------------------------------------

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.wav': 'audio/wav' };
let server;
let base;
let browser;

before(async () => {
  for (const file of ['index.html', 'page.js', 'visualization.js', 'visualization.wasm', 'visualization.data']) {
    assert.ok(fs.existsSync(path.join(outDir, file)), `${file} in ${outDir} (run make web)`);
  }
  server = http.createServer((req, res) => {
    const url = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    const file = url.startsWith('/reference/')
      ? path.join(referenceDir, path.basename(url))
      : path.join(outDir, path.normalize(url));
    fs.readFile(file, (err, data) => {
      if (err) {
        res.writeHead(404);
        res.end();
        return;
      }
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      res.end(data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  base = `http://127.0.0.1:${server.address().port}`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--autoplay-policy=no-user-gesture-required', '--no-sandbox'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  if (figures.length > 0) {
    console.log('\nFigures:\n' + figures.map((f) => '  ' + f).join('\n'));
  }
});

// A page with every console message, page error and failed request recorded; `problems` are
// the ones that fail a test: console errors, uncaught exceptions, WebGL's own complaints.
async function openPage(query, viewport = { width: 1280, height: 760 }) {
  const page = await browser.newPage({ viewport });
  const problems = [];
  page.on('console', (m) => {
    const text = m.text();
    if (m.type() === 'error' || /WebGL|GL_INVALID|GL ERROR/.test(text)) {
      problems.push(`console ${m.type()}: ${text}`);
    }
  });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
  await page.goto(`${base}/index.html${query}`);
  await page.waitForFunction(() => window.viz && (window.viz.ready || window.viz.errors.length > 0),
    null, { timeout: 180000 });
  return { page, problems };
}

// Runs `body` on a page of its own, closed however the body ends, so that a failed test does
// not leave a page drawing beside the next one.
async function withPage(query, body) {
  const opened = await openPage(query);
  try {
    await body(opened);
  } finally {
    await opened.page.close();
  }
}

// What the library logged that means a GL error, and GL's own error flag now.
async function glTrouble(page) {
  return page.evaluate(() => {
    const lines = viz.log.filter((l) => /GL ERROR|GL error/.test(l));
    const e = Module.ctx.getError();
    return e === 0 ? lines : lines.concat([`glGetError 0x${e.toString(16)}`]);
  });
}

// The mean grey level of every 8x8 block of what the canvas shows (240x135): a thin tube or a
// dark photograph's stars move the means of their blocks where a sample of every 8th pixel can
// miss them all.
function signature(page) {
  return page.evaluate(() => {
    const gl = Module.ctx;
    const w = gl.drawingBufferWidth;
    const h = gl.drawingBufferHeight;
    const pixels = new Uint8Array(w * h * 4);
    gl.bindFramebuffer(gl.READ_FRAMEBUFFER, null);
    gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    const columns = Math.floor(w / 8);
    const out = new Float64Array(columns * Math.floor(h / 8));
    for (let y = 0; y < out.length / columns * 8; y++) {
      for (let x = 0; x < columns * 8; x++) {
        const i = (y * w + x) * 4;
        out[(y >> 3) * columns + (x >> 3)] += (0.299 * pixels[i] + 0.587 * pixels[i + 1] + 0.114 * pixels[i + 2]) / 64;
      }
    }
    return Array.from(out);
  });
}

// Waits `ms` and at least `frames` frames: SwiftShader draws a kaleidoscope at a few frames a
// second here, and the library steps its animation by at most a 15th of a second a frame, so
// its cross-fades and intro last longer than their time on the clock.
async function settle(page, ms, frames) {
  const from = await page.evaluate(() => viz.frames);
  await page.waitForTimeout(ms);
  await page.waitForFunction(([f, n]) => viz.frames >= f + n, [from, frames], { timeout: 120000 });
}

// Two signatures, at least 700 ms and four frames apart.
async function twoLooks(page) {
  const a = await signature(page);
  await settle(page, 700, 4);
  return [a, await signature(page)];
}

const spread = (sig) => {
  const mean = sig.reduce((a, b) => a + b, 0) / sig.length;
  return Math.sqrt(sig.reduce((a, b) => a + (b - mean) ** 2, 0) / sig.length);
};
const meanChange = (a, b) => a.reduce((s, v, i) => s + Math.abs(v - b[i]), 0) / a.length;

// A short WAV: a chord with a beat every half second, so that the bands move.
function makeWav(seconds = 12, rate = 44100) {
  const frames = seconds * rate;
  const data = Buffer.alloc(44 + frames * 2);
  data.write('RIFF', 0);
  data.writeUInt32LE(36 + frames * 2, 4);
  data.write('WAVEfmt ', 8);
  data.writeUInt32LE(16, 16);
  data.writeUInt16LE(1, 20);
  data.writeUInt16LE(1, 22);
  data.writeUInt32LE(rate, 24);
  data.writeUInt32LE(rate * 2, 28);
  data.writeUInt16LE(2, 32);
  data.writeUInt16LE(16, 34);
  data.write('data', 36);
  data.writeUInt32LE(frames * 2, 40);
  for (let i = 0; i < frames; i++) {
    const t = i / rate;
    const beat = Math.exp(-((t % 0.5) * 12));
    const v = 0.25 * (Math.sin(2 * Math.PI * 220 * t) + Math.sin(2 * Math.PI * 277 * t) +
      Math.sin(2 * Math.PI * 330 * t)) * (0.3 + 0.7 * beat) + 0.3 * beat * Math.sin(2 * Math.PI * 60 * t);
    data.writeInt16LE(Math.max(-32767, Math.min(32767, Math.round(v * 20000))), 44 + i * 2);
  }
  return data;
}

// ---- the tests ------------------------------------------------------------------------------

test('the demo song plays, and track changes reach modes of every family, each moving', async () => {
  const sizes = ['visualization.wasm', 'visualization.data', 'visualization.js']
    .map((f) => fs.statSync(path.join(outDir, f)).size);
  report(`size: .wasm ${(sizes[0] / 1e6).toFixed(2)} MB + data ${(sizes[1] / 1e6).toFixed(2)} MB ` +
         `(+ script ${(sizes[2] / 1e6).toFixed(2)} MB) = ${((sizes[0] + sizes[1]) / 1e6).toFixed(2)} MB`);
  assert.ok(sizes[0] + sizes[1] < 5e6, 'the .wasm and the data under 5 MB');

  await withPage('?autoplay', async ({ page, problems }) => {
    await page.waitForFunction(() => viz.frames > 2 && viz.mode !== '', null, { timeout: 120000 });
    const t = await page.evaluate(() => [viz.runtimeMs, viz.instanceMs, viz.firstFrameMs]);
    report(`opening the page to the first frame: ${Math.round(t[2])} ms (module ready at ` +
           `${Math.round(t[0])} ms, the instance built by ${Math.round(t[1])} ms)`);
    // The library ignores track changes during its intro.
    await page.waitForFunction(() => viz.log.some((l) => l.endsWith(' to ANIMATION')), null, { timeout: 240000 });

    const seen = new Map();  // family -> mode
    for (let change = 0; change < 60 && seen.size < FAMILIES.length; change++) {
      // The library drops a change that comes while the last one is young (after a kaleidoscope
      // mode, for several seconds here): press again.
      const before = await page.evaluate(() => viz.modes.length);
      for (let press = 0; ; press++) {
        await page.keyboard.press('n');
        try {
          await page.waitForFunction((n) => viz.modes.length > n, before, { timeout: 5000 });
          break;
        } catch (e) {
          if (press === 30) {
            const tail = await page.evaluate(() => viz.log.slice(-12).join('\n'));
            throw new Error(`no new mode after ${press + 1} track changes; the log ends:\n${tail}`);
          }
        }
      }
      const mode = await page.evaluate(() => viz.mode);
      if (seen.has(family(mode))) {
        continue;
      }
      await settle(page, 1500, 25);  // past the cross-fade
      const [a, b] = await twoLooks(page);
      assert.equal(await page.evaluate(() => viz.mode), mode, 'the mode stayed while it was looked at');
      if (!(spread(a) > 1 && meanChange(a, b) > 0.05)) {
        fs.mkdirSync(picturesDir, { recursive: true });
        await page.screenshot({ path: path.join(picturesDir, `${mode}.png`) });
      }
      const shown = `(the page now: ${path.join(picturesDir, mode)}.png)`;
      assert.ok(spread(a) > 1, `${mode} draws a picture that is not flat (spread ${spread(a).toFixed(2)}) ${shown}`);
      assert.ok(meanChange(a, b) > 0.05, `${mode}'s picture changes (by ${meanChange(a, b).toFixed(3)}) ${shown}`);
      seen.set(family(mode), mode);
    }
    assert.deepEqual([...seen.keys()].sort(), [...FAMILIES].sort(), 'modes of every family');
    report(`modes looked at: ${[...seen.values()].join(', ')}`);

    // Rotation to portrait and back, each over a real turn's duration.
    for (const to of ['Portrait', 'Landscape']) {
      const finished = `Finished transition from ${to === 'Portrait' ? 'Landscape' : 'Portrait'} to ${to}`;
      const count = () => page.evaluate((f) => viz.log.filter((l) => l.includes(f)).length, finished);
      const before = await count();
      await page.keyboard.press('r');
      await page.waitForFunction(([f, n]) => viz.log.filter((l) => l.includes(f)).length > n,
        [finished, before], { timeout: 120000 });
    }
    const loads = await page.evaluate(() => viz.log.filter((l) => l.includes('Duration asset load'))
      .map((l) => Number(/(\d+)ms/.exec(l)[1])));
    if (loads.length > 0) {
      report(`photograph decoding in the frame loop: ${loads.join(', ')} ms`);
    }
    assert.equal(await page.evaluate(() => viz.errors.length), 0, 'the page said no error');
    assert.deepEqual(await glTrouble(page), []);
    assert.deepEqual(problems, []);
  });
});

test('a music file of the user plays; a file the browser cannot decode is said in words', async () => {
  await withPage('', async ({ page, problems }) => {
    const music = musicFile ? { name: path.basename(musicFile), mimeType: 'audio/mpeg',
                                buffer: fs.readFileSync(musicFile) }
      : { name: 'chord.wav', mimeType: 'audio/wav', buffer: makeWav() };
    await page.setInputFiles('#file', music);
    await page.waitForFunction(() => document.getElementById('overlay').hidden && viz.mode !== '', null,
      { timeout: 120000 });
    await page.waitForFunction(() => viz.log.some((l) => l.includes('Mode switched from WAITING_FOR_DATA')),
      null, { timeout: 120000 });
    await page.waitForFunction(() => viz.log.some((l) => l.endsWith(' to ANIMATION')), null, { timeout: 240000 });
    await settle(page, 1000, 10);
    const [a, b] = await twoLooks(page);
    assert.ok(spread(a) > 3 && meanChange(a, b) > 0.05,
      `the file moves the picture (spread ${spread(a).toFixed(2)}, change ${meanChange(a, b).toFixed(3)})`);
    if (screenshot) {
      await page.screenshot({ path: screenshot });
      report(`screenshot: ${screenshot} (${music.name}, ${await page.evaluate(() => viz.mode)})`);
    }
    assert.equal(await page.evaluate(() => document.getElementById('source').textContent), music.name);

    await page.setInputFiles('#file', { name: 'broken.mp3', mimeType: 'audio/mpeg',
                                        buffer: Buffer.from('this is not music at all'.repeat(64)) });
    await page.waitForFunction(() => !document.getElementById('overlay').hidden, null, { timeout: 20000 });
    const said = await page.textContent('#message');
    assert.match(said, /cannot decode/, said);
    assert.match(said, /broken\.mp3/, said);
    assert.deepEqual(await glTrouble(page), []);
    assert.deepEqual(problems, []);
  });
});

// The native reference pictures (tests/reference/pictures, drawn by viz_reference through the
// shared object on Mesa's llvmpipe) against the web build on SwiftShader, driven the same way:
// the manual clock from 7 s, the same 32 bands every call, a call every fourth 60 Hz frame, the
// same walk of the playlist with track changes, until it has reached every family; both pictures
// of every mode on the way are compared.
test('the same bands give the native reference pictures within a tolerance', async () => {
  await withPage('?idle', async ({ page, problems }) => {
    const result = await page.evaluate(async (families) => {
      viz.paused = true;
      const m = Module;
      const FRAME_NS = 16666667;
      const PER_CALL = 4;
      const BANDS = 32;
      const CALLS_PER_SECOND = 60 / PER_CALL;
      const FIRST_MODE_START = 5 * CALLS_PER_SECOND;
      const PICTURE_AT = [Math.floor((CALLS_PER_SECOND * 3) / 2), CALLS_PER_SECOND * 4];
      const family = (mode) => {
        for (const name of ['CUBES', 'RING', 'LINES', 'KALEIDOSCOPE']) {
          if (mode.includes(`_2021_${name}_`)) return name.toLowerCase();
        }
        return '2020';
      };
      const gl = m.ctx;
      m._web_clock_manual(7e9);
      m._web_restart(0);

      const info = m._malloc(8 + BANDS * 4);
      const values = info + 8;
      let videoFrame = 0;
      const timings = {};
      const play = (calls, mode) => {
        for (let i = 0; i < calls; i++) {
          videoFrame += PER_CALL;
          const f = Math.fround;
          const t = f(videoFrame / 60);
          const beat = f(t % 0.5) < f(0.06) ? 1 : 0;
          const heap = new Float32Array(m.HEAPF32.buffer, values, BANDS);
          for (let b = 0; b < BANDS; b++) {
            const tilt = f((-20 * b) / BANDS);
            const swell = f(18 * f(0.5 + f(0.5 * f(Math.sin(f(f(t * f(1.7)) + f(f(0.4) * b)))))));
            heap[b] = f(f(f(-75 + tilt) + swell) + f((b < 8 ? 30 : 12) * beat));
          }
          const u32 = new Uint32Array(m.HEAPU8.buffer, info, 2);
          u32[0] = BANDS;
          u32[1] = values;
          m._UpdateBandsInfo(info);
          m._web_clock_advance(PER_CALL * FRAME_NS);
          const start = performance.now();
          m._OnUpdateGlApp();
          gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));  // waits for it
          if (mode && i > 0) (timings[family(mode)] = timings[family(mode)] || []).push(performance.now() - start);
        }
      };
      // The frame scaled to 256x144 as the native program scales it, top row first.
      const scaled = () => {
        const fb = gl.createFramebuffer();
        const rb = gl.createRenderbuffer();
        gl.bindRenderbuffer(gl.RENDERBUFFER, rb);
        gl.renderbufferStorage(gl.RENDERBUFFER, gl.RGBA8, 256, 144);
        gl.bindFramebuffer(gl.DRAW_FRAMEBUFFER, fb);
        gl.framebufferRenderbuffer(gl.DRAW_FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.RENDERBUFFER, rb);
        gl.bindFramebuffer(gl.READ_FRAMEBUFFER, null);
        const scissor = gl.isEnabled(gl.SCISSOR_TEST);
        gl.disable(gl.SCISSOR_TEST);
        gl.blitFramebuffer(0, 0, 1920, 1080, 0, 0, 256, 144, gl.COLOR_BUFFER_BIT, gl.LINEAR);
        if (scissor) gl.enable(gl.SCISSOR_TEST);
        gl.bindFramebuffer(gl.READ_FRAMEBUFFER, fb);
        const px = new Uint8Array(256 * 144 * 4);
        gl.readPixels(0, 0, 256, 144, gl.RGBA, gl.UNSIGNED_BYTE, px);
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        gl.deleteFramebuffer(fb);
        gl.deleteRenderbuffer(rb);
        const out = new Uint8Array(px.length);
        for (let y = 0; y < 144; y++) out.set(px.subarray((143 - y) * 1024, (144 - y) * 1024), y * 1024);
        return out;
      };
      const reference = async (file) => {
        const bitmap = await createImageBitmap(await (await fetch(`/reference/${file}`)).blob());
        const c = new OffscreenCanvas(256, 144);
        const ctx = c.getContext('2d');
        ctx.drawImage(bitmap, 0, 0);
        return ctx.getImageData(0, 0, 256, 144).data;
      };
      // Pixels whose colours are farther apart than `tolerance` in a channel.
      const differing = (a, b, tolerance) => {
        let n = 0;
        for (let i = 0; i < a.length; i += 4) {
          if (Math.abs(a[i] - b[i]) > tolerance || Math.abs(a[i + 1] - b[i + 1]) > tolerance ||
              Math.abs(a[i + 2] - b[i + 2]) > tolerance) n++;
        }
        return n;
      };
      // A PNG of the web picture and one of the pixels off by more than 16, in red over the
      // dimmed native picture.
      const png = async (pixels) => {
        const c = new OffscreenCanvas(256, 144);
        c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels), 256, 144), 0, 0);
        const bytes = new Uint8Array(await (await c.convertToBlob({ type: 'image/png' })).arrayBuffer());
        let text = '';
        for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
        return btoa(text);
      };
      const difference = (web, native) => {
        const out = new Uint8Array(web.length);
        for (let i = 0; i < web.length; i += 4) {
          const off = [0, 1, 2].some((c) => Math.abs(web[i + c] - native[i + c]) > 16);
          out[i] = off ? 255 : native[i] >> 2;
          out[i + 1] = off ? 0 : native[i + 1] >> 2;
          out[i + 2] = off ? 0 : native[i + 2] >> 2;
          out[i + 3] = 255;
        }
        return out;
      };
      const shifted = (p) => {
        const out = new Uint8Array(p);
        for (let y = 0; y < 144; y++) out.copyWithin(y * 1024 + 4, y * 1024, y * 1024 + 1020);
        return out;
      };

      const compared = [];
      const modeNow = () => viz.mode;
      const seen = new Set();
      const familiesDone = new Set();
      for (let change = 0; familiesDone.size < families.length && change < 124; change++) {
        if (change === 0) {
          play(FIRST_MODE_START);
        } else {
          m._UpdateTrackChange();
          play(1);
        }
        const mode = modeNow();
        if (seen.has(mode)) {
          play(CALLS_PER_SECOND);
          continue;
        }
        let played = change === 0 ? 0 : 1;
        for (let index = 0; index < 2; index++) {
          play(PICTURE_AT[index] - played, mode);
          played = PICTURE_AT[index];
          const web = scaled();
          const native = await reference(`${mode}-${'ab'[index]}.png`);
          for (let i = 3; i < web.length; i += 4) web[i] = 255;
          compared.push({ mode: mode + '-' + 'ab'[index], off: differing(web, native, 16), offStrict: differing(web, native, 8),
                          shift: differing(native, shifted(native), 8),
                          png: await png(web), diff: await png(difference(web, native)) });
          familiesDone.add(family(mode));
        }
        seen.add(mode);
      }
      // A full-screen clear in the same page, for scale.
      const clears = [];
      for (let i = 0; i < 30; i++) {
        const start = performance.now();
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        gl.clearColor(Math.random(), 0, 0, 1);
        gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
        clears.push(performance.now() - start);
      }
      m._free(info);
      const median = (v) => v.slice().sort((a, b) => a - b)[Math.floor(v.length / 2)];
      const frameMs = {};
      for (const [f, v] of Object.entries(timings)) frameMs[f] = median(v);
      return { compared, frameMs, clearMs: median(clears) };
    }, FAMILIES);

    const pixels = 256 * 144;
    fs.mkdirSync(picturesDir, { recursive: true });
    for (const c of result.compared) {
      fs.writeFileSync(path.join(picturesDir, `web-${c.mode}-b.png`), Buffer.from(c.png, 'base64'));
      fs.writeFileSync(path.join(picturesDir, `web-${c.mode}-b-difference.png`), Buffer.from(c.diff, 'base64'));
      report(`web vs native ${c.mode}: ${c.off} pixels off by more than 16 (${c.offStrict} by more than 8); ` +
             `a one-pixel shift of the native picture changes ${c.shift}`);
    }
    for (const f of FAMILIES) {
      if (result.frameMs[f] !== undefined) {
        report(`frame ${f}: ${result.frameMs[f].toFixed(1)} ms = ${(result.frameMs[f] / result.clearMs).toFixed(1)} ` +
               `full-screen clears (${result.clearMs.toFixed(1)} ms) on SwiftShader`);
      }
    }
    const reached = new Set(result.compared.map((c) => family(c.mode)));
    assert.deepEqual([...reached].sort(), [...FAMILIES].sort(), 'the walk reached every family');
    // Two rasterisers round blending, filtering and the edges of point sprites their own ways, and
    // the scaling to 256x144 samples a few pixels of each 7.5x7.5 block, so a sprite's edge moved by
    // a fraction of a pixel changes a scaled pixel by much. A picture passes when the pixels off by
    // more than 16 in a channel are at most 0.5 % of it and fewer than a tenth of what moving the
    // picture by one pixel changes (at most 66 pixels, a tenth of the shift's, here); the
    // animation one frame (a 15th of a second) ahead is off by a third to a whole shift's.
    for (const c of result.compared) {
      assert.ok(c.off <= 0.005 * pixels && c.off < 0.1 * c.shift,
        `${c.mode}: ${c.off} pixels differ from the native picture (shift: ${c.shift})`);
    }
    assert.deepEqual(await glTrouble(page), []);
    assert.deepEqual(problems, []);
  });
});

test('a browser without WebGL 2 is told so in words', async () => {
  const plain = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--disable-webgl2',
           '--no-sandbox'],
  });
  try {
    const page = await plain.newPage();
    await page.goto(`${base}/index.html?autoplay`);
    await page.waitForFunction(() => window.viz && window.viz.errors.length > 0, null, { timeout: 60000 });
    assert.match(await page.textContent('#message'), /no WebGL 2/);
    assert.equal(await page.isVisible('#overlay'), true);
  } finally {
    await plain.close();
  }
});
