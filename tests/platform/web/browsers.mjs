// The three browser engines behind one small interface, so that every test
// of the page is written once and runs in each: Chromium (Debian's chromium)
// and Firefox (firefox-esr) driven by puppeteer-core, WebKit (WebKitGTK's
// MiniBrowser on the X display in DISPLAY) by selenium-webdriver.
//   const engine = await launch('chromium' | 'firefox' | 'webkit', modules);
//   const context = await engine.newContext({ width, height, scale, touch });  // a fresh profile
//   const page = await context.newPage();
// A page offers goto, reload, evaluate(fn, ...args), waitFor(fn, arg, timeout)
// (polls until fn returns a true value, and returns it), press(key), type,
// click(selector), tap and twoFingerTap (touch contexts), front() (the tab a
// player plays in), resize(width, height), errors() and close().
// SPDX-License-Identifier: MIT
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { createServer } from 'node:net';
import { pathToFileURL } from 'node:url';

const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-sync',
    '--disable-background-networking', '--disable-component-update', '--autoplay-policy=no-user-gesture-required'];

// Touch needs the driver to emulate a touch screen; WebKitWebDriver cannot.
export const ENGINES = { chromium: { touch: true }, firefox: { touch: true }, webkit: { touch: false } };

async function poll(check, timeout, what) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await check();
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

// What every page shares: the waits, and the page's own error log (kept by
// the test server's hook, read before the page is left).
class PageBase {
    logged = [];

    waitFor(fn, arg, timeout = 30000) { return poll(() => this.evaluate(fn, arg), timeout, String(fn)); }

    async collectErrors() {
        this.logged.push(...await this.evaluate(() => (window.ruvoErrors ?? []).splice(0)).catch(() => []));
    }

    async errors() {
        await this.collectErrors();
        return [...new Set(this.logged)];
    }

    async goto(url) {
        await this.collectErrors();
        await this.load(url);
    }

    reload() { return this.goto(null); }

    async close() {
        await this.collectErrors();
        await this.closePage();
    }
}

// --- puppeteer-core: Chromium and Firefox --------------------------------------------
class PuppeteerPage extends PageBase {
    constructor(page) {
        super();
        this.page = page;
        page.on('console', (message) => {
            if (message.type() === 'error') this.logged.push(`${message.text()} (${message.location()?.url ?? ''})`);
        });
        page.on('pageerror', (error) => this.logged.push(error.message));
    }

    load(url) { return url === null ? this.page.reload() : this.page.goto(url); }
    evaluate(fn, ...args) { return this.page.evaluate(fn, ...args); }
    press(key) { return this.page.keyboard.press(key === 'Space' ? ' ' : key); }
    type(text) { return this.page.keyboard.type(text); }
    click(selector) { return this.page.click(selector); }

    // The centre of an element, in CSS pixels of the viewport.
    centre(selector) {
        return this.evaluate((s) => {
            const box = document.querySelector(s).getBoundingClientRect();
            return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
        }, selector);
    }

    async tap(selector) {
        const { x, y } = await this.centre(selector);
        await this.page.touchscreen.tap(x, y);
    }

    async twoFingerTap(selector) {
        const { x, y } = await this.centre(selector);
        const first = await this.page.touchscreen.touchStart(x - 20, y);
        const second = await this.page.touchscreen.touchStart(x + 20, y);
        await second.end();
        await first.end();
    }

    front() { return this.page.bringToFront(); }
    resize(width, height) { return this.page.setViewport({ ...this.page.viewport(), width, height }); }
    closePage() { return this.page.close(); }
}

async function launchPuppeteer(name, modules) {
    // An ES module: imported (which Node 18 can do), not required.
    const { default: puppeteer } = await import(pathToFileURL(createRequire(`${modules}/`).resolve('puppeteer-core')));
    const launch = (prefs) => (name === 'chromium'
        ? puppeteer.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: CHROMIUM_FLAGS })
        : puppeteer.launch({ browser: 'firefox', executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
            extraPrefsFirefox: prefs }));
    const browser = await launch({});
    // Firefox takes a touch screen from its preferences only, which hold for
    // the whole browser: a second one is started for the touch tests.
    let touchBrowser = null;
    return {
        name,
        version: await browser.version(),
        async newContext(options = {}) {
            let owner = browser;
            if (options.touch && name === 'firefox') {
                touchBrowser ??= await launch({ 'ui.primaryPointerCapabilities': 1, 'ui.allPointerCapabilities': 1,
                    'dom.w3c_touch_events.enabled': 1 });
                owner = touchBrowser;
            }
            const context = await owner.createBrowserContext();
            const { width = 800, height = 500, scale = 1, touch = false } = options;
            return {
                async newPage() {
                    const page = await context.newPage();
                    await page.setViewport({ width, height, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch });
                    return new PuppeteerPage(page);
                },
                // A page that the page under test opens itself (help, in a window of its own).
                async waitForPage(pattern) {
                    const target = await context.waitForTarget((t) => pattern.test(t.url()), { timeout: 10000 });
                    return new PuppeteerPage(await target.page());
                },
                close: () => context.close(),
            };
        },
        async close() {
            await touchBrowser?.close();
            await browser.close();
        },
    };
}

// --- selenium-webdriver: WebKit ----------------------------------------------------------
class WebKitPage extends PageBase {
    constructor(context, handle) {
        super();
        this.context = context;
        this.handle = handle;
    }

    async driver() {
        await this.context.switchTo(this.handle);
        return this.context.driver;
    }

    async load(url) {
        const driver = await this.driver();
        await (url === null ? driver.navigate().refresh() : driver.get(url));
    }

    async evaluate(fn, ...args) {
        return (await this.driver()).executeScript(`return (${fn}).apply(null, arguments);`, ...args);
    }

    // 'F2', 'Enter', 'ArrowUp', 'Space': selenium's F2, ENTER, ARROW_UP, SPACE.
    async press(key) {
        const name = key.replace(/([a-z])([A-Z])/g, '$1_$2').toUpperCase();
        await (await this.driver()).actions().sendKeys(this.context.selenium.Key[name] ?? key).perform();
    }

    async type(text) { await (await this.driver()).actions().sendKeys(text).perform(); }

    async click(selector) {
        const driver = await this.driver();
        const element = await driver.findElement(this.context.selenium.By.css(selector));
        await driver.actions().move({ origin: element }).press().release().perform();
    }

    tap() { throw new Error('WebKitWebDriver cannot emulate a touch screen'); }
    front() { return this.driver(); }

    // The window is sized so that the page inside it gets the size asked for.
    async resize(width, height) {
        const driver = await this.driver();
        const inner = () => driver.executeScript('return [innerWidth, innerHeight]');
        for (let attempt = 0; attempt < 3; ++attempt) {
            const [innerWidth, innerHeight] = await inner();
            if (innerWidth === width && innerHeight === height) return;
            const rect = await driver.manage().window().getRect();
            await driver.manage().window().setRect({ width: rect.width + width - innerWidth,
                height: rect.height + height - innerHeight });
            await poll(async () => {
                const [w, h] = await inner();
                return w !== innerWidth || h !== innerHeight || (w === width && h === height);
            }, 5000, 'the window to take its new size');
        }
    }

    async closePage() {
        await (await this.driver()).close();
        this.context.current = null;
    }
}

function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer().on('error', reject);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
    });
}

// One WebKitWebDriver and one MiniBrowser session per context: a fresh,
// ephemeral profile. The scale is the display's (GDK_SCALE), whole numbers only.
class WebKitContext {
    constructor(selenium, options) {
        this.selenium = selenium;
        this.options = options;
        this.used = false;
    }

    async start() {
        const port = await freePort();
        const env = { ...process.env, GDK_SCALE: String(this.options.scale ?? 1) };
        this.process = spawn(process.env.WEBKIT_DRIVER ?? 'WebKitWebDriver', [`--port=${port}`], { env, stdio: 'ignore' });
        // The driver starts the MiniBrowser that comes with it (WEBKIT_BROWSER names another).
        const capabilities = { browserName: 'MiniBrowser' };
        if (process.env.WEBKIT_BROWSER)
            capabilities['webkitgtk:browserOptions'] = { binary: process.env.WEBKIT_BROWSER, args: ['--automation'] };
        this.driver = await poll(() => new this.selenium.Builder().usingServer(`http://127.0.0.1:${port}`)
            .withCapabilities(capabilities).build().catch((error) => {
                if (!/ECONNREFUSED/.test(error.message)) throw error;
                return null;
            }), 20000, 'WebKitWebDriver to answer');
        this.current = await this.driver.getWindowHandle();
        return this;
    }

    async switchTo(handle) {
        if (this.current !== handle) await this.driver.switchTo().window(handle);
        this.current = handle;
    }

    async newPage() {
        if (this.used) {
            await this.driver.switchTo().newWindow('window');
            this.current = await this.driver.getWindowHandle();
        }
        this.used = true;
        const page = new WebKitPage(this, this.current);
        await page.resize(this.options.width ?? 800, this.options.height ?? 500);
        return page;
    }

    waitForPage(pattern) {
        const known = this.current;
        return poll(async () => {
            for (const handle of await this.driver.getAllWindowHandles()) {
                if (handle === known) continue;
                await this.switchTo(handle);
                if (pattern.test(await this.driver.getCurrentUrl())) return new WebKitPage(this, handle);
            }
            return null;
        }, 30000, `a window at ${pattern}`);
    }

    async close() {
        await this.driver.quit().catch(() => {});
        this.process.kill();
    }
}

// The version is the MiniBrowser's, known once a context has started.
function launchWebKit(modules) {
    const selenium = createRequire(`${modules}/`)('selenium-webdriver');
    const engine = { name: 'webkit', version: 'WebKitGTK', close: async () => {} };
    engine.newContext = async (options = {}) => {
        const context = await new WebKitContext(selenium, options).start();
        engine.version = `WebKitGTK ${(await context.driver.getCapabilities()).get('browserVersion')}`;
        return context;
    };
    return engine;
}

export function launch(name, modules) {
    if (!(name in ENGINES)) throw new Error(`no such engine: ${name}`);
    return name === 'webkit' ? Promise.resolve(launchWebKit(modules)) : launchPuppeteer(name, modules);
}
