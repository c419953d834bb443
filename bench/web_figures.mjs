// Figures of the web build in Debian's headless Chromium (SwiftShader), for bench/README.md:
//   node bench/web_figures.mjs BASE_URL [WIDTHxHEIGHT]
// Prints the loading time (opening the page to the start button), the time from the start
// click to the first frame (its calls made, and shown), and the frames per second of
// scene 1 (from the start) and scene 2 (after the key s) over SECONDS of wall time each
// (KESTRUNE_BENCH_SECONDS, default 10), drawing every frame on the fixed step.
import { createRequire } from 'module';
import path from 'path';

const require = createRequire(path.join(process.env.KESTRUNE_NODE_MODULES, 'x.js'));
const puppeteer = require('puppeteer-core');
const [base, size = '1280x720'] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);
const seconds = Number(process.env.KESTRUNE_BENCH_SECONDS || 10);
const browser = await puppeteer.launch({
    executablePath: process.env.KESTRUNE_CHROMIUM || '/usr/lib/chromium/chromium', headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--mute-audio',
           `--window-size=${width},${height}`] });
const page = await browser.newPage();
await page.setViewport({ width, height });
const opened = Date.now();
await page.goto(`${base}/?KESTRUNE_FPS=60`);
await page.waitForFunction(() => !document.getElementById('start').disabled, { timeout: 60000 });
console.log(`${size}: ready to start ${Date.now() - opened} ms after opening the page`);
await page.click('#start');
// The second frame begins once the browser has shown the first: WebGL draws late.
await page.waitForFunction(() => Module._kestrune_frame() >= 2, { timeout: 60000, polling: 'raf' });
const [ran, shown] = await page.evaluate(() => [Module.firstFrameMs, performance.now() - Module.clickTime]);
console.log(`${size}: first frame run ${ran.toFixed(0)} ms, shown ${shown.toFixed(0)} ms after the click`);
async function rate(scene) {
    const f0 = await page.evaluate(() => Module._kestrune_frame());
    const t0 = Date.now();
    await new Promise(r => setTimeout(r, seconds * 1000));
    const f1 = await page.evaluate(() => Module._kestrune_frame());
    const fps = (f1 - f0) / ((Date.now() - t0) / 1000);
    console.log(`${size}: scene ${scene} ${fps.toFixed(2)} frames per second (${f1 - f0} frames)`);
}
await rate(1);
await page.keyboard.press('s');
await rate(2);
await browser.close();
