// The three browser engines behind one small interface, so that every test
// of the page is written once and runs in each: Chromium (Debian's chromium,
// driven by puppeteer-core over the DevTools protocol), Firefox (Debian's
// firefox-esr, puppeteer-core over WebDriver BiDi) and WebKit (Debian's
// WebKitGTK MiniBrowser, selenium-webdriver through WebKitWebDriver, on the X
// display in DISPLAY).
//
//   const engine = await launch('chromium' | 'firefox' | 'webkit', modules);
//   const context = await engine.newContext({ width, height, scale, touch });
//   const page = await context.newPage();   // a fresh profile per context
//
// A page offers: goto, reload, evaluate(fn, ...args), waitFor(fn, arg,
// timeout) (polls the page until fn returns a true value, and returns it),
// press(key), type(text), click(selector), tap(selector) and
// twoFingerTap(selector) (touch contexts only), front() (the tab in front,
// as the one a player plays in), resize(width, height),
// errors() (the page's errors so far), url() and close().
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { createServer } from 'node:net';
import { pathToFileURL } from 'node:url';

const POLL_MS = 50;
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-sync',
    '--disable-background-networking', '--disable-component-update', '--autoplay-policy=no-user-gesture-required'];

// Where each engine can go: touch needs the driver to emulate a touch screen
// (a coarse pointer and touch input); WebKitWebDriver has neither, so its
// touches arrive as a mouse.
export const ENGINES = {
    chromium: { touch: true },
    firefox: { touch: true },
    webkit: { touch: false },
};

async function poll(check, timeout, what) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await check();
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
        await new Promise((resolve) => setTimeout(resolve, POLL_MS));
    }
}

// What every page shares: the waits and the page's own error log (kept by the
// test server's hook, read before the page is left).
class PageBase {
    constructor() {
        this.logged = [];
    }

    async waitFor(fn, arg, timeout = 10000) {
        return poll(() => this.evaluate(fn, arg), timeout, String(fn));
    }

    async collectErrors() {
        try {
            this.logged.push(...(await this.evaluate(() => (window.ruvoErrors ?? []).splice(0))));
        } catch {
            // A page on its way out has nothing more to say.
        }
    }

    async errors() {
        await this.collectErrors();
        return [...new Set(this.logged)];
    }

    // The centre of an element, in CSS pixels of the viewport.
    centre(selector) {
        return this.evaluate((s) => {
            const box = document.querySelector(s).getBoundingClientRect();
            return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
        }, selector);
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

    async goto(url) {
        await this.collectErrors();
        await this.page.goto(url);
    }

    async reload() {
        await this.collectErrors();
        await this.page.reload();
    }

    evaluate(fn, ...args) {
        return this.page.evaluate(fn, ...args);
    }

    press(key) {
        return this.page.keyboard.press(key === 'Space' ? ' ' : key);
    }

    type(text) {
        return this.page.keyboard.type(text);
    }

    click(selector) {
        return this.page.click(selector);
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

    front() {
        return this.page.bringToFront();
    }

    async resize(width, height) {
        const viewport = this.page.viewport();
        await this.page.setViewport({ ...viewport, width, height });
    }

    url() {
        return this.page.url();
    }

    async close() {
        await this.collectErrors();
        await this.page.close();
    }
}

class PuppeteerContext {
    constructor(context, options) {
        this.context = context;
        this.options = options;
    }

    async newPage() {
        const page = await this.context.newPage();
        const { width = 800, height = 500, scale = 1, touch = false } = this.options;
        await page.setViewport({ width, height, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch });
        return new PuppeteerPage(page);
    }

    // A page that the page under test opens itself (help, in a window of its own).
    async waitForPage(pattern) {
        const target = await this.context.waitForTarget((t) => pattern.test(t.url()), { timeout: 10000 });
        return new PuppeteerPage(await target.page());
    }

    close() {
        return this.context.close();
    }
}

async function launchPuppeteer(name, modules) {
    // An ES module: imported (which Node 18 can do), not required.
    const entry = pathToFileURL(createRequire(`${modules}/`).resolve('puppeteer-core')).href;
    const { default: puppeteer } = await import(entry);
    const launch = (prefs) => name === 'chromium'
        ? puppeteer.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true,
            args: CHROMIUM_FLAGS })
        : puppeteer.launch({ browser: 'firefox', executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
            headless: true, extraPrefsFirefox: prefs });
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
            return new PuppeteerContext(await owner.createBrowserContext(), options);
        },
        async close() {
            await touchBrowser?.close();
            await browser.close();
        },
    };
}

// --- selenium-webdriver: WebKit ----------------------------------------------------------
const KEYS = { F1: 'F1', F2: 'F2', F3: 'F3', F4: 'F4', F5: 'F5', F8: 'F8', F10: 'F10', Enter: 'ENTER',
    Escape: 'ESCAPE', ArrowUp: 'ARROW_UP', ArrowDown: 'ARROW_DOWN' };

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

    async goto(url) {
        await this.collectErrors();
        await (await this.driver()).get(url);
    }

    async reload() {
        await this.collectErrors();
        await (await this.driver()).navigate().refresh();
    }

    async evaluate(fn, ...args) {
        return (await this.driver()).executeScript(`return (${fn}).apply(null, arguments);`, ...args);
    }

    async press(key) {
        const { Key } = this.context.selenium;
        const driver = await this.driver();
        await driver.actions().sendKeys(key === 'Space' ? ' ' : Key[KEYS[key]] ?? key).perform();
    }

    async type(text) {
        await (await this.driver()).actions().sendKeys(text).perform();
    }

    async click(selector) {
        const { By } = this.context.selenium;
        const driver = await this.driver();
        const element = await driver.findElement(By.css(selector));
        await driver.actions().move({ origin: element }).press().release().perform();
    }

    tap() {
        throw new Error('WebKitWebDriver cannot emulate a touch screen');
    }

    twoFingerTap() {
        return this.tap();
    }

    async front() {
        await this.driver();
    }

    // The window is sized so that the page inside it gets the size asked for.
    async resize(width, height) {
        const driver = await this.driver();
        for (let attempt = 0; attempt < 3; ++attempt) {
            const [innerWidth, innerHeight] = await driver.executeScript('return [innerWidth, innerHeight]');
            if (innerWidth === width && innerHeight === height) return;
            const rect = await driver.manage().window().getRect();
            await driver.manage().window().setRect({ width: rect.width + width - innerWidth,
                height: rect.height + height - innerHeight });
            await poll(async () => {
                const size = await driver.executeScript('return [innerWidth, innerHeight]');
                return size[0] !== innerWidth || size[1] !== innerHeight || (size[0] === width && size[1] === height);
            }, 5000, 'the window to take its new size');
        }
    }

    async url() {
        return (await this.driver()).getCurrentUrl();
    }

    async close() {
        await this.collectErrors();
        await (await this.driver()).close();
        this.context.current = null;
    }
}

function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer();
        server.on('error', reject);
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
        this.current = null;
        this.used = false;
    }

    async start() {
        const port = await freePort();
        const env = { ...process.env, GDK_SCALE: String(this.options.scale ?? 1) };
        this.process = spawn(process.env.WEBKIT_DRIVER ?? 'WebKitWebDriver', [`--port=${port}`],
            { env, stdio: 'ignore' });
        const server = `http://127.0.0.1:${port}`;
        // The driver starts the MiniBrowser that comes with it (WEBKIT_BROWSER names another).
        const capabilities = { browserName: 'MiniBrowser' };
        if (process.env.WEBKIT_BROWSER)
            capabilities['webkitgtk:browserOptions'] = { binary: process.env.WEBKIT_BROWSER, args: ['--automation'] };
        this.driver = await poll(async () => {
            try {
                return await new this.selenium.Builder().usingServer(server).withCapabilities(capabilities).build();
            } catch (error) {
                if (!/ECONNREFUSED/.test(error.message)) throw error;
                return null;
            }
        }, 20000, 'WebKitWebDriver to answer');
        this.current = await this.driver.getWindowHandle();
        return this;
    }

    async switchTo(handle) {
        if (this.current !== handle) {
            await this.driver.switchTo().window(handle);
            this.current = handle;
        }
    }

    async newPage() {
        let handle;
        if (!this.used) {
            handle = this.current;
            this.used = true;
        } else {
            await this.driver.switchTo().newWindow('window');
            handle = await this.driver.getWindowHandle();
            this.current = handle;
        }
        const page = new WebKitPage(this, handle);
        await page.resize(this.options.width ?? 800, this.options.height ?? 500);
        return page;
    }

    async waitForPage(pattern) {
        const known = new Set([this.current]);
        return poll(async () => {
            for (const handle of await this.driver.getAllWindowHandles()) {
                if (known.has(handle)) continue;
                await this.switchTo(handle);
                if (pattern.test(await this.driver.getCurrentUrl())) return new WebKitPage(this, handle);
            }
            return null;
        }, 10000, `a window at ${pattern}`);
    }

    async close() {
        await this.driver.quit().catch(() => {});
        this.process.kill();
    }
}

async function launchWebKit(modules) {
    const selenium = createRequire(`${modules}/`)('selenium-webdriver');
    const probe = await new WebKitContext(selenium, {}).start();
    const version = (await probe.driver.getCapabilities()).get('browserVersion');
    await probe.close();
    return {
        name: 'webkit',
        version: `WebKitGTK ${version}`,
        newContext: (options = {}) => new WebKitContext(selenium, options).start(),
        close: async () => {},
    };
}

export function launch(name, modules) {
    if (!(name in ENGINES)) throw new Error(`no such engine: ${name}`);
    return name === 'webkit' ? launchWebKit(modules) : launchPuppeteer(name, modules);
}
